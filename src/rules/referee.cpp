// The referee: every question of the game goes to the seat of the player who answers, and
// every answer is applied here and published.
#include "rules/referee.h"

#include <algorithm>
#include <string>
#include <utility>

#include "data/outcome_log.h"
#include "data/text_ids.h"
#include "rules/game.h"
#include "trade/auction.h"
#include "trade/play_deals.h"
#include "trade/questions.h"

namespace tomtura {

namespace {

constexpr int kSellPage = 1;

// How long a computer player's answer shows: shorter when the player wants the game fast.
int ShownFor(const GameState& state, int ms) {
  return state.settings.fastMoves != 0 ? ms / kFastAnswerDivisor : ms;
}

bool IsPlayer(int player) {
  return player >= 0 && player < kMaxPlayers;
}

// The inquiry flags of a commit from another computer are 0 or 1; everything else it may change
// is checked by what it comes to as outcomes (CommitOutcomes).
bool FlagsFit(const PlayWindowCommit& commit) {
  return std::all_of(commit.askedThisTurn.begin(), commit.askedThisTurn.end(),
                     [](std::uint16_t flag) { return flag <= 1; });
}

}  // namespace

std::string_view DecisionKindName(DecisionKind kind) {
  switch (kind) {
    case DecisionKind::Question:
      return "question";
    case DecisionKind::Login:
      return "login";
    case DecisionKind::Consent:
      return "consent";
    case DecisionKind::AuctionBid:
      return "auction bid";
    case DecisionKind::AuctionClose:
      return "auction close";
    case DecisionKind::PlayWindow:
      return "play window";
  }
  return "?";
}

Referee::Referee(Game& game) : game_(game), person_(game), computer_(game) {}

Seat& Referee::SeatOf(int player) {
  return const_cast<Seat&>(std::as_const(*this).SeatOf(player));
}

const Seat& Referee::SeatOf(int player) const {
  if (!IsPlayer(player)) return computer_;
  if (seats_[player] != nullptr) return *seats_[player];
  if (IsPersonHere(game_.state.players[player])) return person_;
  return computer_;
}

void Referee::SetSeat(int player, Seat* seat) {
  if (IsPlayer(player)) seats_[player] = seat;
}

bool Referee::IsRemote(int player) const {
  return SeatOf(player).remote();
}

bool Referee::IsLocalPerson(int player) const {
  const Seat& seat = SeatOf(player);
  return !seat.remote() && !seat.computer();
}

bool Referee::NobodyPlaysHere() const {
  for (int n = 0; n < game_.state.playerCount && n < kMaxPlayers; ++n) {
    if (IsLocalPerson(n)) return false;
  }
  return true;
}

DecisionRequest Referee::Request(DecisionKind kind, int player) const {
  DecisionRequest request;
  request.kind = kind;
  request.player = player;
  request.insidePlayWindow = playWindowDepth_ > 0;
  return request;
}

DecisionRequest Referee::QuestionRequest(const std::string& text, bool twoButtons) const {
  DecisionRequest request = Request(DecisionKind::Question, game_.state.currentPlayer);
  request.text = text;
  request.twoButtons = twoButtons;
  request.layout = DescribeQuestion(game_, text, twoButtons);
  request.answerDelayMs = ShownFor(game_.state, kComputerAnswerMs);
  return request;
}

Decision Referee::Ask(const DecisionRequest& request) {
  return Normalised(request, SeatOf(request.player).Decide(request));
}

Decision Referee::Normalised(const DecisionRequest& request, Decision decision) const {
  const auto yesOrNo = [](int button) { return button == 1 ? 1 : 2; };
  Decision result;
  switch (request.kind) {
    case DecisionKind::Question:
      result.button = request.twoButtons ? yesOrNo(decision.button) : 1;
      break;
    case DecisionKind::Login:
    case DecisionKind::Consent:
      result.button = yesOrNo(decision.button);
      break;
    case DecisionKind::AuctionBid:
      // A bid the auction would not take is a pass.
      if (decision.button == 1 && decision.amount > 0 && request.auction != nullptr &&
          request.auction->CheckAmount(static_cast<unsigned>(decision.amount)) ==
              Auction::BidResult::Taken) {
        result.button = 1;
        result.amount = decision.amount;
      } else {
        result.button = 2;
      }
      break;
    case DecisionKind::AuctionClose:
      result.button = 1;
      break;
    case DecisionKind::PlayWindow:
      result.button = decision.button == kPlayWindowOk || decision.button == kPlayWindowCannotPay
                          ? decision.button
                          : kPlayWindowCancel;
      if (result.button != kPlayWindowCancel) result.commit = decision.commit;
      break;
  }
  return result;
}

int Referee::Subscribe(Listener listener) {
  listeners_.emplace_back(nextSubscription_, std::move(listener));
  return nextSubscription_++;
}

int Referee::SubscribeOutcomes(OutcomeListener listener) {
  outcomeListeners_.emplace_back(nextSubscription_, std::move(listener));
  return nextSubscription_++;
}

void Referee::Unsubscribe(int subscription) {
  std::erase_if(listeners_, [&](const auto& entry) { return entry.first == subscription; });
  std::erase_if(outcomeListeners_, [&](const auto& entry) { return entry.first == subscription; });
}

void Referee::Publish(const DecisionRequest& request, const Decision& decision) {
  lastDecision_ = DecisionRecord{request.kind, request.player, decision};
  const bool remote = IsRemote(request.player);
  // A listener may subscribe or leave while it is told; it is told from a copy.
  const auto listeners = listeners_;
  for (const auto& [subscription, listener] : listeners) listener(request, decision, remote);
}

bool Referee::Apply(const Outcome& outcome, const DecisionRecord* cause) {
  GameState& state = game_.state;
  const Holdings live{state.players, state.properties, state.playerCount};
  if (!CheckOutcome(live, outcome).empty()) return false;
  ApplyOutcome(live, outcome);
  ++outcomesApplied_;
  // A player who leaves while a play window is open leaves its working copies too, so that
  // what the window commits still fits the game.
  if (std::holds_alternative<PlayerGone>(outcome.what) && playWindowDepth_ > 0) {
    const Holdings work{state.workPlayers, state.workProperties, state.playerCount};
    if (CheckOutcome(work, outcome).empty()) ApplyOutcome(work, outcome);
  }
  LogOutcome(game_, outcome);
  state.unsavedProgress = true;

  // The panel's lists follow the owners: a property bought is inserted and chosen, a jail card
  // used leaves its list, a bankrupt's list empties.
  unsigned changed = Changes::kPanel;
  if (const auto* purchase = std::get_if<Purchase>(&outcome.what)) {
    state.propertyLists[purchase->player].InsertSorted(purchase->property);
    changed |= Changes::kBoard;
  } else if (const auto* card = std::get_if<JailCard>(&outcome.what)) {
    PropertyList& list = state.propertyLists[card->player];
    if (card->used) {
      const auto found = std::find(list.items.begin(), list.items.end(), card->card);
      if (found != list.items.end()) list.RemoveAt(static_cast<int>(found - list.items.begin()));
      list.SelectFirst();
    } else {
      list.InsertSorted(card->card);
    }
    changed |= Changes::kBoard;
  } else if (const auto* bankruptcy = std::get_if<Bankruptcy>(&outcome.what)) {
    state.propertyLists[bankruptcy->player].Clear();
    changed |= Changes::kBoard;
  } else if (std::holds_alternative<Deal>(outcome.what) ||
             std::holds_alternative<PlayerGone>(outcome.what)) {
    RebuildPropertyLists(state);
    changed |= Changes::kBoard;
  } else if (std::holds_alternative<Mortgage>(outcome.what) ||
             std::holds_alternative<Houses>(outcome.what)) {
    changed |= Changes::kBoard;
  }
  game_.ui.Changed({changed});

  const auto listeners = outcomeListeners_;
  for (const auto& [subscription, listener] : listeners) listener(outcome, cause);
  return true;
}

void Referee::ApplyCommit(const std::vector<Outcome>& outcomes, const DecisionRecord& cause) {
  for (const Outcome& outcome : outcomes) Apply(outcome, &cause);
}

int Referee::AskQuestion(const std::string& text, bool twoButtons) {
  GameState& state = game_.state;
  const TurnPhase saved = state.turnPhase;
  state.turnPhase = TurnPhase::Dealing;
  const DecisionRequest request = QuestionRequest(text, twoButtons);
  // Paying a debt: a player here sells in the play window, and is asked again while he is still
  // short. Only his last answer is published; what he sold went out as the window's commits.
  // A player elsewhere does the same there, so his last answer is all that is awaited here.
  const bool paysHere = request.layout.kind == kDebtKind && !IsRemote(request.player);
  Decision decision;
  int answer = 0;
  for (;;) {
    decision = Ask(request);
    answer = decision.button;
    if (!paysHere || answer != 1) break;
    if (RunPlayWindow(kSellPage) == kPlayWindowCannotPay) {
      // The window found he cannot pay: the question ends as if he had given up.
      answer = 0;
      decision = Decision{2, 0, nullptr};
      break;
    }
    if (state.current().money >= 0) break;
  }
  Publish(request, decision);
  state.turnPhase = saved;
  return answer;
}

bool Referee::AskLogin() {
  GameState& state = game_.state;
  DecisionRequest request = Request(DecisionKind::Login, state.currentPlayer);
  request.text = game_.FormatCatalogue(kTextPasswordPrompt, game_.PlayerName(state.currentPlayer));
  const Decision decision = Ask(request);
  Publish(request, decision);
  const bool given = decision.button == 1;
  state.turnPhase = given ? TurnPhase::AwaitRoll : TurnPhase::AwaitLogin;
  return given;
}

bool Referee::AskConsent(const ConsentOffer& offer) {
  const int asked = offer.asked;
  if (!IsPlayer(asked)) return false;
  GameState& state = game_.state;
  state.consentPlayer = asked;
  const TurnPhase saved = state.turnPhase;
  state.turnPhase = TurnPhase::Dealing;
  // A person's consent is read from the play window's copy of the players. For a deal that is
  // not on this computer's copies (a computer's dealing, another computer's play window) the
  // copy is nothing of the deal's, and may be an earlier game's: it is filled from the live
  // records.
  if (!SeatOf(asked).computer() && (!offer.workingCopies || state.workPlayers[0].name.empty())) {
    state.workPlayers = state.players;
  }
  DecisionRequest request = Request(DecisionKind::Consent, asked);
  request.text = offer.text;
  request.title = game_.FormatCatalogue(kTextConsentTitle, state.workPlayers[asked].name.utf8());
  request.moneyReceived = offer.moneyReceived;
  request.propertyGiven = offer.propertyGiven;
  request.propertyReceived = offer.propertyReceived;
  request.workingCopies = offer.workingCopies;
  request.words = offer.words;
  const Decision decision = Ask(request);
  Publish(request, decision);
  state.turnPhase = saved;
  return decision.button == 1;
}

int Referee::RunAuction() {
  GameState& state = game_.state;
  const TurnPhase saved = state.turnPhase;
  state.turnPhase = TurnPhase::Dealing;
  Auction auction(game_);
  game_.ui.ShowAuction(&auction);
  const int bidDelay = ShownFor(state, NobodyPlaysHere() ? kComputerOnlyBidMs : kComputerBidMs);
  std::optional<DecisionRecord> winningBid;
  while (!auction.ended()) {
    DecisionRequest request = Request(DecisionKind::AuctionBid, auction.bidder());
    request.auction = &auction;
    request.answerDelayMs = bidDelay;
    const Decision decision = Ask(request);
    Publish(request, decision);
    if (decision.button == 1) {
      auction.Bid(static_cast<unsigned>(decision.amount));
      winningBid = lastDecision_;
    } else {
      auction.Pass();
    }
  }
  // The player whose property it was closes the auction.
  DecisionRequest closing = Request(DecisionKind::AuctionClose, state.currentPlayer);
  closing.auction = &auction;
  closing.answerDelayMs = ShownFor(state, kAuctionCloseMs);
  Publish(closing, Ask(closing));
  // The bid is not checked against the winner's money: he may end in debt.
  const int winner = auction.highestBidder();
  Apply({Purchase{winner, auction.property(), auction.highestBid(), true}},
        winningBid ? &*winningBid : lastDecision());
  game_.ui.ShowAuction(nullptr);
  state.unsavedProgress = true;
  state.turnPhase = saved;
  return winner;
}

int Referee::RunPlayWindow(int page) {
  GameState& state = game_.state;
  const TurnPhase saved = state.turnPhase;
  state.turnPhase = TurnPhase::Dealing;
  PlayWindowDeals deals(game_);
  DecisionRequest request = Request(DecisionKind::PlayWindow, state.currentPlayer);
  request.page = std::clamp(page, 0, kPlayPageCount - 1);
  request.deals = &deals;
  ++playWindowDepth_;
  Decision decision = Ask(request);
  --playWindowDepth_;
  // The commit goes out with the decision, so that every copy of the game can apply it; every
  // copy applies the same outcomes, which the working copies come to.
  std::optional<std::vector<Outcome>> outcomes;
  if (decision.button != kPlayWindowCancel) {
    outcomes = CommitOutcomes(state, state.currentPlayer, state.workPlayers, state.workProperties);
  }
  if (!outcomes) {
    decision = Decision{kPlayWindowCancel, 0, nullptr};  // copies that no window could make
  } else {
    auto commit = std::make_shared<PlayWindowCommit>();
    commit->players = state.workPlayers;
    commit->properties = state.workProperties;
    commit->askedThisTurn = state.askedThisTurn;
    decision.commit = std::move(commit);
  }
  Publish(request, decision);
  if (outcomes) ApplyCommit(*outcomes, *lastDecision_);
  state.turnPhase = saved;
  return decision.button;
}

bool Referee::ApplyRemoteCommit(const PlayWindowCommit& commit) {
  GameState& state = game_.state;
  if (!FlagsFit(commit)) return false;
  const std::optional<std::vector<Outcome>> outcomes =
      CommitOutcomes(state, state.currentPlayer, commit.players, commit.properties);
  if (!outcomes) return false;
  for (int p = 0; p < kPropertyCount; ++p) {
    state.askedThisTurn[p] = std::max(state.askedThisTurn[p], commit.askedThisTurn[p]);
  }
  Decision ok{kPlayWindowOk, 0, nullptr};
  ApplyCommit(*outcomes, DecisionRecord{DecisionKind::PlayWindow, state.currentPlayer, ok});
  return true;
}

bool Referee::HasPassword(const DecisionRequest& request) const {
  const GameState& state = game_.state;
  if (!IsPlayer(request.player)) return false;
  switch (request.kind) {
    case DecisionKind::Login:
      return !state.players[request.player].password.empty();
    case DecisionKind::Consent:
      return !state.workPlayers[request.player].password.empty();
    case DecisionKind::AuctionBid:
      return request.auction != nullptr && request.auction->BidderHasPassword();
    default:
      return false;
  }
}

bool Referee::PasswordAccepted(const DecisionRequest& request, std::string_view typedUtf8) const {
  if (!HasPassword(request)) return true;
  const GameState& state = game_.state;
  const PlayerTable& players =
      request.kind == DecisionKind::Consent ? state.workPlayers : state.players;
  return PasswordMatches(players[request.player].password, typedUtf8);
}

int Referee::BidRefusal(const DecisionRequest& request, unsigned amount,
                        std::string_view passwordUtf8) const {
  if (request.auction == nullptr) return kTextBidTooLow;
  switch (request.auction->Check(amount, passwordUtf8)) {
    case Auction::BidResult::Taken:
      return 0;
    case Auction::BidResult::WrongPassword:
      return kTextWrongPassword;
    case Auction::BidResult::TooLow:
      return kTextBidTooLow;
  }
  return kTextBidTooLow;
}

}  // namespace tomtura
