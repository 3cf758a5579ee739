// Which command fits the moment: the phase of the turn, who is on turn and where, his money, and
// whether a game is running or networked. The window carries out what these verdicts say.
#include <gtest/gtest.h>

#include <string>

#include "rules/commands.h"
#include "turn_fixture.h"

namespace tomtura {
namespace {

using turn_test::TestGame;
using Verdict = CommandCheck::Verdict;

enum class OnTurn { Person, Computer, Elsewhere };
constexpr int kHost = 0x401;  // this computer hosts a network game

// A verdict as one line, so that a failing case shows every field at once.
std::string Describe(const CommandCheck& check) {
  static constexpr const char* kVerdicts[] = {"Run", "Refuse", "Login", "InDebt", "Confirm"};
  return std::string(kVerdicts[static_cast<int>(check.verdict)]) + " " +
         std::to_string(check.command) + " text " + std::to_string(check.text) + " page " +
         std::to_string(check.page);
}

TEST(CheckCommand, VerdictsByPhaseSeatMoneyAndGame) {
  struct Case {
    const char* name;
    int command;
    TurnPhase phase = TurnPhase::AwaitRoll;
    OnTurn onTurn = OnTurn::Person;
    int money = 30000;    // of the player on turn
    int networkGame = 0;  // or kHost
    int gameRunning = 0;
    CommandCheck want;
  };
  const Case cases[] = {
      // While a window of the turn is open nothing else may happen, not even a question.
      {.name = "sound while dealing",
       .command = kCmdSound,
       .phase = TurnPhase::Dealing,
       .want = {Verdict::Refuse, kCmdSound}},
      {.name = "new game while dealing",
       .command = kCmdNewGame,
       .phase = TurnPhase::Dealing,
       .gameRunning = 1,
       .want = {Verdict::Refuse, kCmdNewGame}},

      {.name = "roll", .command = kCmdRoll, .want = {Verdict::Run, kCmdRoll}},
      {.name = "roll while the dice tumble",
       .command = kCmdRoll,
       .phase = TurnPhase::Rolling,
       .want = {Verdict::Refuse, kCmdRoll}},
      {.name = "roll after a cancelled password",
       .command = kCmdRoll,
       .phase = TurnPhase::AwaitLogin,
       .want = {Verdict::Login, kCmdRoll}},
      {.name = "roll for a computer player",
       .command = kCmdRoll,
       .onTurn = OnTurn::Computer,
       .want = {Verdict::Run, kCmdRoll}},
      {.name = "roll for a player elsewhere",
       .command = kCmdRoll,
       .onTurn = OnTurn::Elsewhere,
       .want = {Verdict::Refuse, kCmdRoll}},

      // Each dealing command opens its page of the play window.
      {.name = "buy from", .command = kCmdBuyFrom, .want = {Verdict::Run, kCmdBuyFrom, 0, 0}},
      {.name = "sell to", .command = kCmdSellTo, .want = {Verdict::Run, kCmdSellTo, 0, 1}},
      {.name = "mortgage", .command = kCmdMortgage, .want = {Verdict::Run, kCmdMortgage, 0, 2}},
      {.name = "unmortgage",
       .command = kCmdUnmortgage,
       .want = {Verdict::Run, kCmdUnmortgage, 0, 3}},
      {.name = "buy house", .command = kCmdBuyHouse, .want = {Verdict::Run, kCmdBuyHouse, 0, 4}},
      {.name = "sell house", .command = kCmdSellHouse, .want = {Verdict::Run, kCmdSellHouse, 0, 5}},
      {.name = "mortgage while moving",
       .command = kCmdMortgage,
       .phase = TurnPhase::Moving,
       .want = {Verdict::Refuse, kCmdMortgage}},
      {.name = "mortgage after a cancelled password",
       .command = kCmdMortgage,
       .phase = TurnPhase::AwaitLogin,
       .want = {Verdict::Login, kCmdMortgage}},
      {.name = "mortgage for a computer player",
       .command = kCmdMortgage,
       .onTurn = OnTurn::Computer,
       .want = {Verdict::Refuse, kCmdMortgage}},
      {.name = "mortgage for a player elsewhere",
       .command = kCmdMortgage,
       .onTurn = OnTurn::Elsewhere,
       .want = {Verdict::Refuse, kCmdMortgage}},

      // In debt, the pages that spend money are refused with their own text; the others open.
      {.name = "buy from in debt",
       .command = kCmdBuyFrom,
       .money = -1,
       .want = {Verdict::InDebt, kCmdBuyFrom, 8, 0}},
      {.name = "unmortgage in debt",
       .command = kCmdUnmortgage,
       .money = -1,
       .want = {Verdict::InDebt, kCmdUnmortgage, 9, 3}},
      {.name = "buy house in debt",
       .command = kCmdBuyHouse,
       .money = -1,
       .want = {Verdict::InDebt, kCmdBuyHouse, 10, 4}},
      {.name = "buy from with no money",
       .command = kCmdBuyFrom,
       .money = 0,
       .want = {Verdict::Run, kCmdBuyFrom, 0, 0}},
      {.name = "sell to in debt",
       .command = kCmdSellTo,
       .money = -1,
       .want = {Verdict::Run, kCmdSellTo, 0, 1}},
      {.name = "mortgage in debt",
       .command = kCmdMortgage,
       .money = -1,
       .want = {Verdict::Run, kCmdMortgage, 0, 2}},
      {.name = "sell house in debt",
       .command = kCmdSellHouse,
       .money = -1,
       .want = {Verdict::Run, kCmdSellHouse, 0, 5}},
      {.name = "buy from in debt for a computer player",
       .command = kCmdBuyFrom,
       .onTurn = OnTurn::Computer,
       .money = -1,
       .want = {Verdict::Refuse, kCmdBuyFrom}},

      {.name = "save", .command = kCmdSaveGame, .want = {Verdict::Run, kCmdSaveGame}},
      {.name = "save while moving",
       .command = kCmdSaveGame,
       .phase = TurnPhase::Moving,
       .want = {Verdict::Refuse, kCmdSaveGame}},
      {.name = "save in a network game",
       .command = kCmdSaveGame,
       .networkGame = kHost,
       .want = {Verdict::Refuse, kCmdSaveGame}},

      // Leaving a network game or throwing away a running one asks first.
      {.name = "load", .command = kCmdLoadGame, .want = {Verdict::Run, kCmdLoadGame}},
      {.name = "load over a running game",
       .command = kCmdLoadGame,
       .gameRunning = 1,
       .want = {Verdict::Confirm, kCmdLoadGame, 7}},
      {.name = "load in a network game",
       .command = kCmdLoadGame,
       .networkGame = kHost,
       .want = {Verdict::Confirm, kCmdLoadGame, 6}},
      {.name = "add player over a running game",
       .command = kCmdAddPlayer,
       .gameRunning = 1,
       .want = {Verdict::Confirm, kCmdAddPlayer, 7}},
      {.name = "add player in a network game",
       .command = kCmdAddPlayer,
       .networkGame = kHost,
       .want = {Verdict::Confirm, kCmdAddPlayer, 6}},
      {.name = "new game", .command = kCmdNewGame, .want = {Verdict::Run, kCmdNewGame}},
      {.name = "new game over a running game",
       .command = kCmdNewGame,
       .gameRunning = 1,
       .want = {Verdict::Confirm, kCmdNewGame, 7}},
      // A network game is left for a new one with new players.
      {.name = "new game in a network game",
       .command = kCmdNewGame,
       .networkGame = kHost,
       .want = {Verdict::Confirm, kCmdAddPlayer, 6}},
      {.name = "new game in a running network game",
       .command = kCmdNewGame,
       .networkGame = kHost,
       .gameRunning = 1,
       .want = {Verdict::Confirm, kCmdAddPlayer, 6}},

      {.name = "message outside a network game",
       .command = kCmdSendMessage,
       .want = {Verdict::Refuse, kCmdSendMessage}},
      {.name = "message in a network game",
       .command = kCmdSendMessage,
       .networkGame = kHost,
       .want = {Verdict::Run, kCmdSendMessage}},
      {.name = "sound while moving",
       .command = kCmdSound,
       .phase = TurnPhase::Moving,
       .want = {Verdict::Run, kCmdSound}},
      // Exit closes the window, and the close asks (CheckClose).
      {.name = "exit from a running game",
       .command = kCmdExit,
       .gameRunning = 1,
       .want = {Verdict::Run, kCmdExit}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestGame t(2);
    turn_test::ElsewhereSeat elsewhere;
    GameState& s = t.state;
    s.turnPhase = c.phase;
    s.current().isComputer = c.onTurn == OnTurn::Computer ? 1 : 0;
    if (c.onTurn == OnTurn::Elsewhere) t.game.referee.SetSeat(s.currentPlayer, &elsewhere);
    s.current().money = c.money;
    s.networkGame = c.networkGame;
    s.gameRunning = c.gameRunning;
    EXPECT_EQ(Describe(CheckCommand(t.game, c.command)), Describe(c.want));
  }
}

TEST(CheckClose, AsksOnlyWhileAGameIsRunning) {
  TestGame t(2);
  t.state.gameRunning = 1;
  EXPECT_EQ(Describe(CheckClose(t.game)), Describe({Verdict::Confirm, kCmdExit, 7}));
  t.state.gameRunning = 0;
  EXPECT_EQ(Describe(CheckClose(t.game)), Describe({Verdict::Run, kCmdExit}));
}

}  // namespace
}  // namespace tomtura
