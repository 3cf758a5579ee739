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
  constexpr TurnPhase kAwait = TurnPhase::AwaitRoll, kRolling = TurnPhase::Rolling,
                      kMoving = TurnPhase::Moving, kLogin = TurnPhase::AwaitLogin,
                      kDealing = TurnPhase::Dealing, kOver = TurnPhase::GameOver;
  constexpr OnTurn kPerson = OnTurn::Person, kComputer = OnTurn::Computer,
                   kElsewhere = OnTurn::Elsewhere;
  constexpr Verdict kRun = Verdict::Run, kRefuse = Verdict::Refuse, kAgain = Verdict::Login,
                    kDebt = Verdict::InDebt, kAsk = Verdict::Confirm;
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
      {kCmdSound,      kDealing, kPerson,    1, kLocal, 0, {kRefuse, kCmdSound}},
      // Roll: only when the turn waits for it, and not for a player elsewhere.
      {kCmdRoll,       kAwait,   kPerson,    1, kLocal, 0, {kRun, kCmdRoll}},
      {kCmdRoll,       kRolling, kPerson,    1, kLocal, 0, {kRefuse, kCmdRoll}},
      {kCmdRoll,       kLogin,   kPerson,    1, kLocal, 0, {kAgain, kCmdRoll}},
      {kCmdRoll,       kAwait,   kComputer,  1, kLocal, 0, {kRun, kCmdRoll}},
      {kCmdRoll,       kAwait,   kElsewhere, 1, kLocal, 0, {kRefuse, kCmdRoll}},
      // Each dealing command opens its page, for a person here only (the rest in debt below).
      {kCmdMortgage,   kAwait,   kPerson,    1, kLocal, 0, {kRun, kCmdMortgage, 0, 2}},
      {kCmdSellHouse,  kAwait,   kPerson,    1, kLocal, 0, {kRun, kCmdSellHouse, 0, 5}},
      // In debt the pages that spend money are refused with their own text.
      {kCmdBuyFrom,    kAwait,   kPerson,   -1, kLocal, 0, {kDebt, kCmdBuyFrom, 8, 0}},
      {kCmdUnmortgage, kAwait,   kPerson,   -1, kLocal, 0, {kDebt, kCmdUnmortgage, 9, 3}},
      {kCmdBuyHouse,   kAwait,   kPerson,   -1, kLocal, 0, {kDebt, kCmdBuyHouse, 10, 4}},
      {kCmdBuyFrom,    kAwait,   kPerson,    0, kLocal, 0, {kRun, kCmdBuyFrom, 0, 0}},
      {kCmdSellTo,     kAwait,   kPerson,   -1, kLocal, 0, {kRun, kCmdSellTo, 0, 1}},
      {kCmdBuyFrom,    kAwait,   kComputer, -1, kLocal, 0, {kRefuse, kCmdBuyFrom}},
      // Saving only between turns, and in a network game at the host, which can host it again.
      {kCmdSaveGame,   kAwait,   kPerson,    1, kLocal, 0, {kRun, kCmdSaveGame}},
      {kCmdSaveGame,   kMoving,  kPerson,    1, kLocal, 0, {kRefuse, kCmdSaveGame}},
      {kCmdSaveGame,   kAwait,   kElsewhere, 1, kHost,  0, {kRun, kCmdSaveGame}},
      {kCmdSaveGame,   kAwait,   kPerson,    1, kClient, 0, {kRefuse, kCmdSaveGame}},
      // Leaving a network game or throwing away what is not saved asks first (a game that is
      // over has nothing left to lose); a network game is left for a new one with new players.
      {kCmdLoadGame,   kAwait,   kPerson,    1, kLocal, 0, {kRun, kCmdLoadGame}},
      {kCmdLoadGame,   kAwait,   kPerson,    1, kLocal, 1, {kAsk, kCmdLoadGame, 7}},
      {kCmdLoadGame,   kAwait,   kPerson,    1, kHost,  0, {kAsk, kCmdLoadGame, 6}},
      {kCmdAddPlayer,  kAwait,   kPerson,    1, kLocal, 1, {kAsk, kCmdAddPlayer, 7}},
      {kCmdNewGame,    kAwait,   kPerson,    1, kLocal, 1, {kAsk, kCmdNewGame, 7}},
      {kCmdNewGame,    kAwait,   kPerson,    1, kHost,  1, {kAsk, kCmdAddPlayer, 6}},
      {kCmdNewGame,    kOver,    kPerson,    1, kLocal, 1, {kRun, kCmdNewGame}},
      {kCmdLoadGame,   kOver,    kPerson,    1, kHost,  0, {kAsk, kCmdLoadGame, 6}},
      // Messages go only to other computers; options fit any phase but dealing.
      {kCmdSendMessage, kAwait,  kPerson,    1, kLocal, 0, {kRefuse, kCmdSendMessage}},
      {kCmdSendMessage, kAwait,  kPerson,    1, kHost,  0, {kRun, kCmdSendMessage}},
      {kCmdSound,      kMoving,  kPerson,    1, kLocal, 0, {kRun, kCmdSound}},
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
