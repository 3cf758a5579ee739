// The seats: a person's answers come from the front end, a computer player's from its rules.
#include "rules/seats.h"

#include <string>

#include "rules/computer_mind.h"
#include "rules/game.h"
#include "trade/auction.h"
#include "trade/computer_deals.h"

namespace tomtura {

namespace {

int Button(bool first) {
  return first ? 1 : 2;
}

int QuestionAnswer(Game& game, const ComputerMind& mind, const DecisionRequest& request) {
  switch (request.layout.topic) {
    case QuestionTopic::Notice:
      return 1;
    case QuestionTopic::Card:
    case QuestionTopic::Debt:
      return 2;
    case QuestionTopic::Jail:
      return Button(mind.PaysBail(game));
    case QuestionTopic::Offer:
      return Button(mind.Buys(game, game.state.offeredProperty));
  }
  return 2;
}

}  // namespace

Decision ComputerDecision(Game& game, const DecisionRequest& request) {
  const ComputerMind& mind = MindOf(game.state, request.player);
  Decision decision;
  switch (request.kind) {
    case DecisionKind::Question:
      decision.button = QuestionAnswer(game, mind, request);
      break;
    case DecisionKind::Login:
    case DecisionKind::AuctionClose:
      decision.button = 1;  // the computer knows the password; the closing needs no thought
      break;
    case DecisionKind::Consent: {
      const GameState& state = game.state;
      const PropertyTable& table = request.workingCopies ? state.workProperties : state.properties;
      decision.button =
          Button(mind.Accepts(game, request.player, request.moneyReceived, request.propertyGiven,
                              request.propertyReceived, table));
      break;
    }
    case DecisionKind::AuctionBid: {
      const Auction& auction = *request.auction;
      const int raise =
          mind.AuctionRaise(game, auction.bidder(), auction.highestBid(), auction.property());
      decision.button = Button(raise > 0);
      decision.amount = raise > 0 ? auction.highestBid() + raise : 0;
      break;
    }
    case DecisionKind::PlayWindow:
      decision.button = kPlayWindowCancel;  // the computer deals by its own rules instead
      break;
  }
  return decision;
}

Decision ComputerDealsInPlayWindow(Game& game) {
  GameState& state = game.state;
  const PlayerTable players = state.players;
  const PropertyTable properties = state.properties;
  SketchComputerTransactions(game);
  state.workPlayers = state.players;
  state.workProperties = state.properties;
  const bool changed = state.players != players || state.properties != properties;
  state.players = players;
  state.properties = properties;
  return {changed ? kPlayWindowOk : kPlayWindowCancel, 0, nullptr};
}

Decision LocalPersonSeat::Decide(const DecisionRequest& request) {
  return game_.ui.AskPerson(request);
}

Decision ComputerSeat::Decide(const DecisionRequest& request) {
  if (request.kind == DecisionKind::PlayWindow) {
    const Decision dealt = ComputerDealsInPlayWindow(game_);
    lastWindowDealt_ = dealt.button == kPlayWindowOk;
    return dealt;
  }
  Decision decision = ComputerDecision(game_, request);
  const bool debt =
      request.kind == DecisionKind::Question && request.layout.topic == QuestionTopic::Debt;
  if (debt && game_.state.networkGame != NetRole::None) {
    const bool raise = debtAsks_ == 0 || lastWindowDealt_;
    debtAsks_ = raise ? debtAsks_ + 1 : 0;
    decision.button = raise ? 1 : 2;
  } else if (request.kind != DecisionKind::Consent) {
    debtAsks_ = 0;
  }
  // A consent's answer is told by the play window that asked, whoever the partner is; the
  // computers' own dealing is told on the status line.
  if (request.kind != DecisionKind::Consent) game_.ui.ShowAnswer(request, decision);
  return decision;
}

}  // namespace tomtura
