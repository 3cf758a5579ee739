// The turn cycle: the dice, the token's walk and the hand-over of the turn with its password.
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

#include "data/text_ids.h"
#include "turn_fixture.h"

namespace tomtura {
namespace {

using turn_test::TestGame;

// Walks the current token `steps` squares (negative: backwards) without landing.
void Walk(TestGame& t, int steps) {
  t.state.stepsToMove = steps;
  for (int i = 0; i < std::abs(steps); ++i) t.game.WalkTick();
}

TEST(TokenWalk, PixelPlacesAndSalaryAfterWalksFromGo) {
  const struct {
    int player, forward, back;
    int x, y, square, money;
  } cases[] = {
      {3, 1, 0, 94, 34, 1, 30000},    // leaves GO from its own place (37, 34)
      {3, 45, 0, 322, 34, 5, 34000},  // a lap and more: salary once
      {0, 1, 3, 29, 143, 38, 30000},  // back across GO: no salary
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.player << " +" << c.forward << " -" << c.back);
    TestGame t(4);
    t.state.firstLap.fill(257);
    t.state.currentPlayer = c.player;
    t.state.turnPhase = TurnPhase::Moving;
    Walk(t, c.forward);
    Walk(t, -c.back);
    const Player& p = t.state.players[c.player];
    EXPECT_EQ(std::make_tuple(p.tokenX, p.tokenY, p.position), std::make_tuple(c.x, c.y, c.square));
    EXPECT_EQ(p.money, c.money);
    EXPECT_EQ(t.state.firstLap[c.player], c.money > 30000 ? 0 : 257);
  }
}

TEST(DiceTick, TumblesSixFramesThenThrowsThenStops) {
  TestGame t(2, 77);
  t.game.Roll();
  for (int frame = 0; frame < 7; ++frame) t.game.DiceTick();
  EXPECT_EQ(std::tuple(t.state.die1, t.state.die2, t.state.stepsToMove), std::tuple(6, 5, 11));
  EXPECT_TRUE(t.ui.dicePending());
  t.game.DiceTick();
  EXPECT_FALSE(t.ui.dicePending());
}

TEST(DiceTick, LastFrameDecidesTheWalk) {
  const struct {
    int jailTurns, doublesInRow, die1, die2, position;
    bool fast;
    TurnPhase phase;
    int interval;  // 0: no walk, the landing at once
    int steps, jailTurnsAfter, nextPlayer;
  } cases[] = {
      {0, 0, 2, 3, 0, false, TurnPhase::Moving, 500, 5, 0, 0},
      {0, 1, 4, 4, 0, true, TurnPhase::Moving, 100, 8, 0, 0},     // a second double walks
      {0, 2, 5, 5, 36, false, TurnPhase::ToJail, 200, 14, 0, 0},  // the third: to jail
      {3, 0, 4, 4, 10, false, TurnPhase::Moving, 500, 8, 0, 0},   // a double frees him
      {3, 0, 2, 3, 10, false, TurnPhase::AwaitRoll, 0, 5, 3, 1},  // else he stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.jailTurns << c.doublesInRow << c.die1 << c.die2);
    TestGame t(2);
    t.state.settings.fastMoves = c.fast ? 1 : 0;
    t.state.current().jailTurns = static_cast<std::int16_t>(c.jailTurns);
    t.state.current().position = static_cast<std::int16_t>(c.position);
    t.state.doublesInRow = c.doublesInRow;
    t.state.die1 = c.die1;
    t.state.die2 = c.die2;
    t.state.stepsToMove = c.die1 + c.die2;
    t.state.diceFrame = 7;
    t.game.DiceTick();
    EXPECT_EQ(t.state.turnPhase, c.phase);
    EXPECT_EQ(t.ui.walkPending() ? t.ui.walkIntervalMs() : 0, c.interval);
    EXPECT_EQ(t.state.stepsToMove, c.steps);
    EXPECT_EQ(t.state.players[0].jailTurns, c.jailTurnsAfter);
    EXPECT_EQ(t.state.players[0].position, c.position);
    EXPECT_EQ(t.state.currentPlayer, c.nextPlayer);
  }
}

TEST(TurnPassing, AComputerPlayerHereRollsAtOnce) {
  for (bool elsewhere : {false, true}) {
    TestGame t(2);
    test_support::ScriptedSeat seat(true);
    if (elsewhere) t.game.referee.SetSeat(1, &seat);
    t.state.players[1].isComputer = elsewhere ? 0 : 1;  // a person elsewhere
    t.LandOn(20, 1, 2);
    EXPECT_EQ(t.ui.dicePending(), !elsewhere);
    EXPECT_EQ(t.ui.rollFocus, elsewhere ? 1 : 0);
    // A computer's dealing sums itself up there; in a network game the line names the player
    // at the other computer.
    EXPECT_EQ(t.state.statusText, elsewhere ? t.game.FormatCatalogue(kTextRemoteTurn, "Bertil", "")
                                            : t.game.FormatCatalogue(kTextNoDeals, "Bertil"));
  }
}

TEST(Password, CancelledHoldsTheTurnBeforeJailUntilRollAsksAgain) {
  TestGame t(2);
  t.ui.logins = {2, 2, 1};
  t.state.players[1].password.setUtf8("xyz");
  t.state.players[1].jailTurns = 3;
  t.ui.answers = {2};  // no bail
  // After each try: the passwords asked, the player on turn, the phase, Bertil's jail turns, the
  // questions asked and the roll button's focus.
  using Step = std::tuple<int, int, TurnPhase, int, std::size_t, int>;
  const Step steps[] = {{1, 1, TurnPhase::AwaitLogin, 3, 0, 0},
                        {2, 1, TurnPhase::AwaitLogin, 3, 0, 0},
                        {3, 1, TurnPhase::AwaitRoll, 2, 1, 1}};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    if (i == 0) {
      EXPECT_EQ(t.LandOn(20, 1, 2), 1);
    } else {
      t.game.Roll();  // only the end of the turn again: nobody lands, the turn stays
    }
    EXPECT_EQ(Step(t.ui.passwordsAsked, t.state.currentPlayer, t.state.turnPhase,
                   t.state.players[1].jailTurns, t.ui.asked.size(), t.ui.rollFocus),
              steps[i]);
  }
  EXPECT_EQ(t.ui.asked.at(0).text, t.game.FormatCatalogue(kTextBailQuestion, "Bertil"));
}

}  // namespace
}  // namespace tomtura
