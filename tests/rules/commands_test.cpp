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
constexpr NetRole kHost = NetRole::Host;  // this computer hosts a network game
constexpr NetRole kLocal = NetRole::None;
constexpr NetRole kClient = NetRole::Client;  // this computer has joined one

// A verdict as one line, so that a failing case shows every field at once.
std::string Describe(const CommandCheck& check) {
  static constexpr const char* kVerdicts[] = {"Run", "Refuse", "Login", "InDebt", "Confirm"};
  return std::string(kVerdicts[static_cast<int>(check.verdict)]) + " " +
         std::to_string(check.command) + " text " + std::to_string(check.text) + " page " +
         std::to_string(check.page);
}

TEST(CheckCommand, VerdictsByPhaseSeatMoneyAndGame) {
  using enum TurnPhase;
  using enum OnTurn;
  using enum CommandCheck::Verdict;  // Login: the password is asked again
  // clang-format off
  const struct {
    int command;
    TurnPhase phase;
    OnTurn onTurn;
    int money;  // of the player on turn
    NetRole networkGame;
    int unsaved;  // the game has progress that is not in a file
    CommandCheck want;
  } cases[] = {
      // While a window of the turn is open nothing else may happen.
      {kCmdSound,       Dealing,    Person,     1, kLocal,  0, {Refuse, kCmdSound}},
      // Roll: only when the turn waits for it, and not for a player elsewhere.
      {kCmdRoll,        AwaitRoll,  Person,     1, kLocal,  0, {Run, kCmdRoll}},
      {kCmdRoll,        Rolling,    Person,     1, kLocal,  0, {Refuse, kCmdRoll}},
      {kCmdRoll,        AwaitLogin, Person,     1, kLocal,  0, {Login, kCmdRoll}},
      {kCmdRoll,        AwaitRoll,  Computer,   1, kLocal,  0, {Run, kCmdRoll}},
      {kCmdRoll,        AwaitRoll,  Elsewhere,  1, kLocal,  0, {Refuse, kCmdRoll}},
      // Each dealing command opens its page, for a person here only (the rest in debt below).
      {kCmdMortgage,    AwaitRoll,  Person,     1, kLocal,  0, {Run, kCmdMortgage, 0, 2}},
      {kCmdSellHouse,   AwaitRoll,  Person,     1, kLocal,  0, {Run, kCmdSellHouse, 0, 5}},
      // In debt the pages that spend money are refused with their own text.
      {kCmdBuyFrom,     AwaitRoll,  Person,    -1, kLocal,  0, {InDebt, kCmdBuyFrom, 8, 0}},
      {kCmdUnmortgage,  AwaitRoll,  Person,    -1, kLocal,  0, {InDebt, kCmdUnmortgage, 9, 3}},
      {kCmdBuyHouse,    AwaitRoll,  Person,    -1, kLocal,  0, {InDebt, kCmdBuyHouse, 10, 4}},
      {kCmdBuyFrom,     AwaitRoll,  Person,     0, kLocal,  0, {Run, kCmdBuyFrom, 0, 0}},
      {kCmdSellTo,      AwaitRoll,  Person,    -1, kLocal,  0, {Run, kCmdSellTo, 0, 1}},
      {kCmdBuyFrom,     AwaitRoll,  Computer,  -1, kLocal,  0, {Refuse, kCmdBuyFrom}},
      // Saving only between turns, and in a network game at the host, which can host it again.
      {kCmdSaveGame,    AwaitRoll,  Person,     1, kLocal,  0, {Run, kCmdSaveGame}},
      {kCmdSaveGame,    Moving,     Person,     1, kLocal,  0, {Refuse, kCmdSaveGame}},
      {kCmdSaveGame,    AwaitRoll,  Elsewhere,  1, kHost,   0, {Run, kCmdSaveGame}},
      {kCmdSaveGame,    AwaitRoll,  Person,     1, kClient, 0, {Refuse, kCmdSaveGame}},
      // Leaving a network game or throwing away what is not saved asks first (a game that is
      // over has nothing left to lose); a network game is left for a new one with new players.
      {kCmdLoadGame,    AwaitRoll,  Person,     1, kLocal,  0, {Run, kCmdLoadGame}},
      {kCmdLoadGame,    AwaitRoll,  Person,     1, kLocal,  1, {Confirm, kCmdLoadGame, 7}},
      {kCmdLoadGame,    AwaitRoll,  Person,     1, kHost,   0, {Confirm, kCmdLoadGame, 6}},
      {kCmdAddPlayer,   AwaitRoll,  Person,     1, kLocal,  1, {Confirm, kCmdAddPlayer, 7}},
      {kCmdNewGame,     AwaitRoll,  Person,     1, kLocal,  1, {Confirm, kCmdNewGame, 7}},
      {kCmdNewGame,     AwaitRoll,  Person,     1, kHost,   1, {Confirm, kCmdAddPlayer, 6}},
      {kCmdNewGame,     GameOver,   Person,     1, kLocal,  1, {Run, kCmdNewGame}},
      {kCmdLoadGame,    GameOver,   Person,     1, kHost,   0, {Confirm, kCmdLoadGame, 6}},
      // Messages go only to other computers; options fit any phase but dealing.
      {kCmdSendMessage, AwaitRoll,  Person,     1, kLocal,  0, {Refuse, kCmdSendMessage}},
      {kCmdSendMessage, AwaitRoll,  Person,     1, kHost,   0, {Run, kCmdSendMessage}},
      {kCmdSound,       Moving,     Person,     1, kLocal,  0, {Run, kCmdSound}},
  };
  // clang-format on
  for (const auto& c : cases) {
    TestGame t(2);
    test_support::ScriptedSeat elsewhere(true);
    GameState& s = t.state;
    s.turnPhase = c.phase;
    s.current().isComputer = c.onTurn == OnTurn::Computer ? 1 : 0;
    if (c.onTurn == OnTurn::Elsewhere) t.game.referee.SetSeat(s.currentPlayer, &elsewhere);
    s.current().money = c.money;
    s.networkGame = c.networkGame;
    s.unsavedProgress = c.unsaved != 0;
    EXPECT_EQ(Describe(CheckCommand(t.game, c.command)), Describe(c.want))
        << c.command << " phase " << static_cast<int>(c.phase);
  }
}

TEST(CheckClose, AsksOnlyWhileTheGameHasUnsavedProgress) {
  TestGame t(2);
  t.state.unsavedProgress = true;
  EXPECT_EQ(Describe(CheckClose(t.game)), Describe({Verdict::Confirm, kCmdExit, 7}));
  t.state.turnPhase = TurnPhase::GameOver;
  EXPECT_EQ(Describe(CheckClose(t.game)), Describe({Verdict::Run, kCmdExit}));
  t.state.turnPhase = TurnPhase::AwaitRoll;
  t.state.unsavedProgress = false;
  t.state.gameRunning = 1;  // thrown in, then saved
  EXPECT_EQ(Describe(CheckClose(t.game)), Describe({Verdict::Run, kCmdExit}));
}

}  // namespace
}  // namespace tomtura
