#include "rules/commands.h"

#include "data/text_ids.h"
#include "rules/game.h"

namespace tomtura {

namespace {

using Verdict = CommandCheck::Verdict;

CommandCheck Refuse(int id) {
  return {Verdict::Refuse, id};
}

// A dealing command's page and, for those that spend money, the text that refuses them while
// the player is in debt.
bool DealingPage(int id, int& page, int& debtText) {
  debtText = 0;
  switch (id) {
    case kCmdBuyFrom:
      page = 0;
      debtText = kTextDebtBuy;
      return true;
    case kCmdSellTo:
      page = 1;
      return true;
    case kCmdMortgage:
      page = 2;
      return true;
    case kCmdUnmortgage:
      page = 3;
      debtText = kTextDebtUnmortgage;
      return true;
    case kCmdBuyHouse:
      page = 4;
      debtText = kTextDebtHouse;
      return true;
    case kCmdSellHouse:
      page = 5;
      return true;
    default:
      return false;
  }
}

// Whether throwing the game away loses something: what happened since it was begun, loaded or
// saved. A game that is over has nothing left to lose.
bool ProgressWouldBeLost(const GameState& state) {
  return state.unsavedProgress && state.turnPhase != TurnPhase::GameOver;
}

// A command that would end the game in progress asks first: leaving a network game, or
// throwing away what has not been saved.
CommandCheck ConfirmDiscard(const GameState& state, int command) {
  if (state.networkGame != NetRole::None) return {Verdict::Confirm, command, kTextLeaveNetwork};
  if (ProgressWouldBeLost(state)) return {Verdict::Confirm, command, kTextDiscardGame};
  return {Verdict::Run, command};
}

}  // namespace

CommandCheck CheckCommand(const Game& game, int id) {
  const GameState& state = game.state;
  // While a window of the turn is open nothing else may happen.
  if (state.turnPhase == TurnPhase::Dealing) return Refuse(id);

  const int current = state.currentPlayer;
  int page = -1;
  int debtText = 0;
  if (id == kCmdRoll || DealingPage(id, page, debtText)) {
    if (state.turnPhase == TurnPhase::AwaitLogin) return {Verdict::Login, id};
    if (state.turnPhase != TurnPhase::AwaitRoll || game.referee.IsRemote(current)) {
      return Refuse(id);
    }
    if (id == kCmdRoll) return {Verdict::Run, id};
    // Only a person at this computer deals by hand; a computer player deals by itself.
    if (!IsPersonHere(state.players[current])) return Refuse(id);
    if (debtText != 0 && state.players[current].money < 0) {
      return {Verdict::InDebt, id, debtText, page};
    }
    return {Verdict::Run, id, 0, page};
  }

  switch (id) {
    case kCmdSaveGame:
      // A network game is saved by its host, who can host it again from the file.
      if (state.networkGame == NetRole::Client || state.turnPhase != TurnPhase::AwaitRoll)
        return Refuse(id);
      return {Verdict::Run, id};
    case kCmdLoadGame:
    case kCmdAddPlayer:
      return ConfirmDiscard(state, id);
    case kCmdNewGame:
      // A network game is left for a new one with new players.
      return ConfirmDiscard(state,
                            state.networkGame != NetRole::None ? kCmdAddPlayer : kCmdNewGame);
    case kCmdSendMessage:
      if (state.networkGame == NetRole::None) return Refuse(id);
      return {Verdict::Run, id};
    case kCmdStatistics:
      // A game has statistics from its first player on.
      if (state.playerCount < 2) return Refuse(id);
      return {Verdict::Run, id};
    default:
      return {Verdict::Run, id};
  }
}

CommandCheck CheckClose(const Game& game) {
  if (ProgressWouldBeLost(game.state)) return {Verdict::Confirm, kCmdExit, kTextDiscardGame};
  return {Verdict::Run, kCmdExit};
}

}  // namespace tomtura
