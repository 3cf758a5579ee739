#pragma once
// The one place where the game puts a question to a player, and the one place where what a
// decision or a rule brings about is applied. Each question builds the request, sets the turn
// phase while it is open, asks the seat of the player who answers and publishes the answer to
// its listeners (a network layer sends it on, a test records it). Each outcome (a purchase, a
// deal, a payment...) is checked against the game, applied, logged and published with the
// decision that caused it. A seat is chosen per player: a person at this computer, the
// computer's rules, or a player at another computer whose answers arrive from there.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/outcome.h"
#include "data/tabletop.h"
#include "rules/decision.h"
#include "rules/seats.h"

namespace tomtura {

class Game;

// How long a computer player's answer shows before the game goes on.
constexpr int kComputerAnswerMs = 3000;   // a question
constexpr int kComputerBidMs = 2000;      // a bid or pass while a person watches
constexpr int kComputerOnlyBidMs = 1000;  // a bid or pass with computer players only
constexpr int kAuctionCloseMs = 3000;     // the end of a computer player's auction
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
  // Called with every outcome applied, in order, and the decision that brought it about
  // (nullptr: a rule of the game, such as rent or a card).
  using OutcomeListener = std::function<void(const Outcome& outcome, const DecisionRecord* cause)>;
  int SubscribeOutcomes(OutcomeListener listener);
  void Unsubscribe(int subscription);

  // ---- Outcomes ----
  // Checks `outcome` against the game (CheckOutcome), applies it, writes its log line, updates
  // the property lists and the windows, and tells the listeners; false, and nothing changed,
  // when it does not fit the game.
  bool Apply(const Outcome& outcome, const DecisionRecord* cause = nullptr);
  // The decision published last: the cause of what follows from it.
  const DecisionRecord* lastDecision() const { return lastDecision_ ? &*lastDecision_ : nullptr; }
  // How many outcomes have been applied so far: a watcher of the tables can tell by it that
  // nothing has changed without comparing them.
  std::uint64_t outcomesApplied() const { return outcomesApplied_; }

  // ---- The questions of the game ----
  // A question or notice to the current player: 1 or 2 (a notice: 1). The debt question's
  // first button sends a player here to the play window's selling page, and the question comes
  // again while his money is still short; 0 when the play window found he cannot pay.
  int AskQuestion(const std::string& text, bool twoButtons);
  // The current player's password: true when given (phase AwaitRoll), false when cancelled
  // (phase AwaitLogin).
  bool AskLogin();
  // A deal offered to `offer.asked`.
  bool AskConsent(const ConsentOffer& offer);
  // The auction of the property on the current player's square; the winner buys it for his
  // bid, which is applied here. Returns the winner.
  int RunAuction();
  // The play window for the current player, a person here, on `page`; OK publishes the working
  // copies and applies what they came to as outcomes. Returns a PlayWindowResult.
  int RunPlayWindow(int page);
  // What a play window at another computer committed: its outcomes applied, with their log
  // lines, when it fits this game (the board, names and places unchanged, and every change one
  // that a play window of the player on turn can make); false and nothing changed otherwise.
  bool ApplyRemoteCommit(const PlayWindowCommit& commit);

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
  // Applies a play window's outcomes, each caused by the window's OK.
  void ApplyCommit(const std::vector<Outcome>& outcomes, const DecisionRecord& cause);
  Decision Normalised(const DecisionRequest& request, Decision decision) const;
  bool NobodyPlaysHere() const;

  Game& game_;
  LocalPersonSeat person_;
  ComputerSeat computer_;
  std::array<Seat*, kMaxPlayers> seats_{};
  std::vector<std::pair<int, Listener>> listeners_;
  std::uint64_t outcomesApplied_ = 0;
  std::vector<std::pair<int, OutcomeListener>> outcomeListeners_;
  std::optional<DecisionRecord> lastDecision_;
  int nextSubscription_ = 1;
  int playWindowDepth_ = 0;
};

}  // namespace tomtura
