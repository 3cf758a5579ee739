#pragma once
// Questions to a player and their answers, as values. Every question of the game (an offer, a
// card, the jail, a debt, a turn of an auction, a password, a consent, the play window) is a
// DecisionRequest put to the seat of the player who must answer; what comes back is a Decision.
// The referee (rules/referee.h) asks, applies the answer and tells its listeners what was
// decided, so the same values can be shown, sent to another computer or replayed in a test.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "data/game_state.h"
#include "data/tabletop.h"
#include "trade/questions.h"

namespace tomtura {

class Auction;
class PlayWindowDeals;

enum class DecisionKind : std::uint8_t {
  Question,      // a message of the turn; 1 = button 1, 2 = button 2 (a notice has only 1)
  Login,         // the current player's password; 1 = given, 2 = cancelled
  Consent,       // a deal offered to the player; 1 = accepted, 2 = refused
  AuctionBid,    // the bidder's turn; 1 = a bid of `amount`, 2 = a pass
  AuctionClose,  // the auction is over; 1 = closed
  PlayWindow,    // the play window; 1 = OK, 2 = Cancel, 3 = closed as OK: the player cannot pay
};

std::string_view DecisionKindName(DecisionKind kind);

// Answers of the play window.
enum PlayWindowResult : int { kPlayWindowOk = 1, kPlayWindowCancel = 2, kPlayWindowCannotPay = 3 };

struct DecisionRequest {
  DecisionKind kind = DecisionKind::Question;
  int player = 0;  // who answers

  // Question: the text and how it is shown. Consent: the offer. Login and Consent: `title`.
  std::string text;
  bool twoButtons = false;
  QuestionLayout layout;
  std::string title;

  // Consent: what the asked player would receive (negative: pay), give and get.
  int moneyReceived = 0;
  int propertyGiven = kNobody;
  int propertyReceived = kNobody;
  bool workingCopies = false;  // the deal is one of the play window's, on its copies
  OfferWords words{};          // the offer as words another edition can say

  int page = 0;  // PlayWindow: the page shown first

  // How long a computer player's answer stays on show before the game goes on.
  int answerDelayMs = 0;

  // Asked from inside the play window, while the other computers of a network game wait for
  // the window's own answer.
  bool insidePlayWindow = false;

  // For the windows that show the request; not part of its value.
  const Auction* auction = nullptr;
  PlayWindowDeals* deals = nullptr;
};

// The play window's commit as it reaches the other computers: the working copies and the
// inquiry flags that refused offers set.
struct PlayWindowCommit {
  PlayerTable players{};
  PropertyTable properties{};
  std::array<std::uint16_t, kPropertyCount> askedThisTurn{};
  bool operator==(const PlayWindowCommit&) const = default;
};

struct Decision {
  int button = 0;
  int amount = 0;  // AuctionBid: the bid
  // PlayWindow after OK: what was agreed, so that a copy of the game elsewhere can apply it.
  std::shared_ptr<const PlayWindowCommit> commit;

  bool operator==(const Decision& other) const {
    const bool sameCommit =
        commit == other.commit ||
        (commit != nullptr && other.commit != nullptr && *commit == *other.commit);
    return button == other.button && amount == other.amount && sameCommit;
  }
};

// A decision as it is published: what was asked of whom, and the answer. An outcome names the
// decision that brought it about.
struct DecisionRecord {
  DecisionKind kind = DecisionKind::Question;
  int player = 0;
  Decision decision;
};

// Whoever answers for one player: a person at this computer, the computer's rules, or a player
// at another computer.
class Seat {
 public:
  virtual ~Seat() = default;
  virtual Decision Decide(const DecisionRequest& request) = 0;
  // A player at another computer: his answers and his commands arrive from there.
  virtual bool remote() const { return false; }
  // The computer's rules answer at once.
  virtual bool computer() const { return false; }
};

}  // namespace tomtura
