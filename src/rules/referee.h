#pragma once
// The one place where the game puts a question to a player. Each entry point builds the
// request, sets the turn phase while it is open, asks the seat of the player who answers,
// applies the answer and publishes it to the listeners (a network layer sends it on, a test
// records it). A seat is chosen per player: a person at this computer, the computer's rules,
// or a player at another computer whose answers arrive from there.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "rules/decision.h"
#include "rules/seats.h"

namespace tomtura {

class Game;

// How long a computer player's answer shows before the game goes on.
constexpr int kComputerAnswerMs = 3000;    // a question
constexpr int kComputerBidMs = 2000;       // a bid or pass while a person watches
constexpr int kComputerOnlyBidMs = 1000;   // a bid or pass with computer players only
constexpr int kAuctionCloseMs = 3000;      // the end of a computer player's auction
// With fast movement each of these waits is a fifth as long.
constexpr int kFastAnswerDivisor = 5;

// Pages of the play window.
constexpr int kPlayPageCount = 6;

class Referee {
 public:
  explicit Referee(Game& game);
  Referee(const Referee&) = delete;
  Referee& operator=(const Referee&) = delete;

  // ---- Seats ----
  // The seat that answers for `player`: the one set for him, else a person at this computer
  // when his record says so (isComputer 0) and the computer's rules otherwise.
  Seat& SeatOf(int player);
  const Seat& SeatOf(int player) const;
  // Puts `seat` (not owned; nullptr: back to the record's seat) in the chair of `player`.
  void SetSeat(int player, Seat* seat);
  bool IsRemote(int player) const;
  // A person who plays at this computer.
  bool IsLocalPerson(int player) const;

  // ---- Listeners ----
  // Called with every decision taken, in order; `remote` when it came from another computer.
  using Listener =
      std::function<void(const DecisionRequest& request, const Decision& decision, bool remote)>;
  // Returns a number that Unsubscribe takes.
  int Subscribe(Listener listener);
  void Unsubscribe(int subscription);

  // ---- The questions of the game ----
  // A question or notice to the current player: 1 or 2 (a notice: 1). The debt question's
  // first button sends a player here to the play window's selling page, and the question comes
  // again while his money is still short; 0 when the play window found he cannot pay.
  int AskQuestion(const std::string& text, bool twoButtons);
  // The current player's password: true when given (phase AwaitRoll), false when cancelled
  // (phase AwaitLogin).
  bool AskLogin();
  // A deal offered to `asked`; `workingCopies` when it is one of the play window's.
  bool AskConsent(int asked, const std::string& offer, int moneyReceived, int propertyGiven,
                  int propertyReceived, bool workingCopies);
  // The auction of the property on the current player's square; returns the winner, who has
  // paid.
  int RunAuction();
  // The play window for the current player, a person here, on `page`; OK commits its working
  // copies and publishes them. Returns a PlayWindowResult.
  int RunPlayWindow(int page);
  // What a play window at another computer committed: applied, with its log lines, when it
  // fits this game (the board, names and places unchanged, owners and houses in range); false
  // and nothing changed otherwise.
  // Without `logLines`, the log lines are left to the computer where the window was.
  bool ApplyRemoteCommit(const PlayWindowCommit& commit, bool logLines = true);

  // ---- Checks of a person's answer before he gives it ----
  // Login, Consent and AuctionBid: whether the answering player has a password to give.
  bool HasPassword(const DecisionRequest& request) const;
  // Login and Consent: the first three characters typed equal the player's password.
  bool PasswordAccepted(const DecisionRequest& request, std::string_view typedUtf8) const;
  // AuctionBid: 0 when the bid is taken, else the text that refuses it (57 wrong password,
  // 58 not above the highest bid).
  int BidRefusal(const DecisionRequest& request, unsigned amount,
                 std::string_view passwordUtf8) const;

  // The question as the current player sees it: text, captions, colour kind.
  DecisionRequest QuestionRequest(const std::string& text, bool twoButtons) const;

 private:
  DecisionRequest Request(DecisionKind kind, int player) const;
  // Asks the seat; the answer is brought into the range the request allows.
  Decision Ask(const DecisionRequest& request);
  void Publish(const DecisionRequest& request, const Decision& decision);
  Decision Normalised(const DecisionRequest& request, Decision decision) const;
  bool NobodyPlaysHere() const;

  Game& game_;
  LocalPersonSeat person_;
  ComputerSeat computer_;
  std::array<Seat*, kMaxPlayers> seats_{};
  std::vector<std::pair<int, Listener>> listeners_;
  int nextSubscription_ = 1;
  int playWindowDepth_ = 0;
};

}  // namespace tomtura
