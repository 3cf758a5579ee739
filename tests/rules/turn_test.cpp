// The turn cycle: the Roll command, the dice, the token's walk and the hand-over of the turn.
#include <gtest/gtest.h>

#include "turn_fixture.h"

namespace tomtura {
namespace {

using turn_test::TestGame;

// Walks the current token `steps` squares (negative: backwards) without landing.
void Walk(TestGame& t, int steps) {
  t.state.stepsToMove = steps;
  int ticks = steps < 0 ? -steps : steps;
  for (int i = 0; i < ticks; ++i) t.game.WalkTick();
}

TEST(TokenWalk, PixelPlacesAfterWalksFromGo) {
  struct Case {
    int player;
    int forward;
    int back;
    int x, y, square, money;
  };
  const Case cases[] = {
      {3, 1, 0, 94, 34, 1, 30000},      // leaves GO from its own place (37, 34)
      {0, 10, 0, 599, 29, 10, 30000},   // the jail corner
      {0, 20, 0, 599, 628, 20, 30000},  // free parking: shifted down by 29
      {0, 21, 0, 542, 628, 21, 30000},
      {0, 30, 0, 29, 599, 30, 30000},  // go-to-jail corner: the shift taken back
      {1, 40, 0, 37, 29, 0, 34000},    // a whole lap, salary on GO
      {3, 45, 0, 322, 34, 5, 34000},
      {0, 22, 3, 599, 542, 19, 30000},  // back three across free parking
      {0, 1, 3, 29, 143, 38, 30000},    // back across GO: no salary
      {2, 33, 32, 86, 34, 1, 30000},    // back to square 1 from 33
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "player " << c.player << " +" << c.forward << " -" << c.back);
    TestGame t(4);
    t.state.currentPlayer = c.player;
    t.state.turnPhase = TurnPhase::Moving;
    Walk(t, c.forward);
    Walk(t, -c.back);
    const Player& p = t.state.players[c.player];
    EXPECT_EQ(p.tokenX, c.x);
    EXPECT_EQ(p.tokenY, c.y);
    EXPECT_EQ(p.position, c.square);
    EXPECT_EQ(p.money, c.money);
  }
}

TEST(TokenWalk, StepFromGoReportsTheNearerCornerOfBothPlaces) {
  TestGame t(4);
  t.state.currentPlayer = 3;  // new-game place (40, 40), GO place (37, 34)
  t.state.turnPhase = TurnPhase::Moving;
  Walk(t, 1);
  EXPECT_EQ(t.ui.lastFromX, 37);
  EXPECT_EQ(t.ui.lastFromY, 34);
  Walk(t, 1);
  EXPECT_EQ(t.ui.lastFromX, 94);
  EXPECT_EQ(t.ui.lastFromY, 34);
  EXPECT_EQ(t.ui.tokenSteps, 2);
}

TEST(TokenWalk, PassingGoPaysAndEndsTheFirstLapExceptOnTheWayToJail) {
  for (TurnPhase phase : {TurnPhase::Moving, TurnPhase::ToJail}) {
    TestGame t(2);
    t.state.firstLap.fill(257);
    t.state.current().position = 38;
    t.state.turnPhase = phase;
    Walk(t, 3);
    bool paid = phase == TurnPhase::Moving;
    EXPECT_EQ(t.state.current().money, paid ? 34000 : 30000);
    EXPECT_EQ(t.state.firstLap[0], paid ? 0 : 257);
    EXPECT_EQ(t.state.firstLap[1], 257);
    EXPECT_EQ(t.ui.soundsPlayed[3], paid ? 1 : 0);
    EXPECT_EQ(t.ui.soundsPlayed[2], paid ? 2 : 3);
  }
}

TEST(RollCommand, AcceptedOnlyWhenTheTurnWaitsForIt) {
  struct Case {
    TurnPhase phase;
    int networkGame;
    int isComputer;
    bool accepted;
    bool diceTimer;
  };
  const Case cases[] = {
      {TurnPhase::AwaitRoll, 0, 0, true, true},
      {TurnPhase::AwaitRoll, 0, 1, true, true},        // a computer's turn may be rolled by hand
      {TurnPhase::AwaitRoll, 0x401, 0, true, false},   // the network layer throws
      {TurnPhase::AwaitRoll, 0x401, 3, false, false},  // a player at another computer
      {TurnPhase::Rolling, 0, 0, false, false},
      {TurnPhase::Moving, 0, 0, false, false},
      {TurnPhase::ToJail, 0, 0, false, false},
      {TurnPhase::Dealing, 0, 0, false, false},
      {TurnPhase::GameOver, 0, 0, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.phase));
    TestGame t(2);
    t.state.turnPhase = c.phase;
    t.state.networkGame = c.networkGame;
    t.state.current().isComputer = static_cast<std::int16_t>(c.isComputer);
    t.game.Roll();
    EXPECT_EQ(t.ui.beeps, c.accepted ? 0 : 1);
    EXPECT_EQ(t.state.turnPhase, c.accepted ? TurnPhase::Rolling : c.phase);
    EXPECT_EQ(t.state.gameRunning, c.accepted ? 1 : 0);
    EXPECT_EQ(t.ui.dicePending(), c.diceTimer);
    EXPECT_EQ(t.ui.soundsPlayed[1], c.diceTimer ? 1 : 0);
    if (c.diceTimer) {
      EXPECT_EQ(t.ui.diceIntervalMs(), 100);
    }
  }
}

TEST(RollCommand, AfterACancelledPasswordRepeatsTheHandOver) {
  TestGame t(2);
  t.state.players[1].password.setUtf8("abc");
  t.ui.passwords = {false, true};
  EXPECT_EQ(t.LandOn(20, 1, 2), 1);
  EXPECT_EQ(t.state.currentPlayer, 1);
  EXPECT_EQ(t.state.turnPhase, TurnPhase::AwaitLogin);
  EXPECT_EQ(t.ui.passwordsAsked, 1);

  t.game.Roll();  // any action command asks again
  EXPECT_EQ(t.ui.passwordsAsked, 2);
  EXPECT_EQ(t.state.turnPhase, TurnPhase::AwaitRoll);
  EXPECT_EQ(t.state.currentPlayer, 1);
  EXPECT_FALSE(t.ui.dicePending());
}

TEST(DiceTick, TumblesSixFramesThenThrowsFromTheRandomSourceThenDecides) {
  TestGame t(2, 0, 77);
  t.game.Roll();
  Random expected = t.game.rng;
  for (int frame = 0; frame < 6; ++frame) {
    t.game.DiceTick();
    EXPECT_EQ(t.state.diceFrame, frame + 1);
  }
  t.game.DiceTick();
  int die1 = expected.Rand() % 6 + 1;
  int die2 = expected.Rand() % 6 + 1;
  EXPECT_EQ(t.state.die1, die1);
  EXPECT_EQ(t.state.die2, die2);
  EXPECT_EQ(t.state.stepsToMove, die1 + die2);
  EXPECT_TRUE(t.ui.dicePending());

  t.game.DiceTick();
  EXPECT_FALSE(t.ui.dicePending());
  EXPECT_EQ(t.state.diceFrame, 0);
  EXPECT_EQ(t.state.turnPhase, TurnPhase::Moving);
  EXPECT_TRUE(t.ui.walkPending());
  EXPECT_EQ(t.ui.walkIntervalMs(), 500);
}

TEST(DiceTick, LastFrameSendsTheTokenOnItsWay) {
  struct Case {
    int jailTurns, doublesInRow, die1, die2, position;
    bool fast;
    TurnPhase phase;
    int interval;  // 0: no walk
    int steps, jailTurnsAfter;
  };
  const Case cases[] = {
      {0, 0, 2, 3, 0, false, TurnPhase::Moving, 500, 5, 0},
      {0, 0, 2, 3, 0, true, TurnPhase::Moving, 100, 5, 0},
      {0, 1, 4, 4, 0, false, TurnPhase::Moving, 500, 8, 0},    // second double still walks
      {0, 2, 5, 5, 36, false, TurnPhase::ToJail, 200, 14, 0},  // third double: to jail
      {0, 2, 5, 5, 4, true, TurnPhase::ToJail, 50, 6, 0},
      {3, 0, 4, 4, 10, false, TurnPhase::Moving, 500, 8, 0},  // a double frees him
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << c.jailTurns << "/" << c.doublesInRow << "/" << c.die1 << c.die2);
    TestGame t(2);
    t.state.settings.fastMoves = c.fast ? 1 : 0;
    t.state.current().jailTurns = static_cast<std::int16_t>(c.jailTurns);
    t.state.current().position = static_cast<std::int16_t>(c.position);
    t.state.doublesInRow = c.doublesInRow;
    t.state.turnPhase = TurnPhase::Rolling;
    t.state.die1 = c.die1;
    t.state.die2 = c.die2;
    t.state.stepsToMove = c.die1 + c.die2;
    t.state.diceFrame = 7;
    t.game.DiceTick();
    EXPECT_EQ(t.state.turnPhase, c.phase);
    EXPECT_TRUE(t.ui.walkPending());
    EXPECT_EQ(t.ui.walkIntervalMs(), c.interval);
    EXPECT_EQ(t.state.stepsToMove, c.steps);
    EXPECT_EQ(t.state.current().jailTurns, c.jailTurnsAfter);
    EXPECT_EQ(t.state.currentPlayer, 0);
  }
}

TEST(DiceTick, JailedWithoutADoubleStaysAndTheTurnPasses) {
  TestGame t(2);
  t.state.current().position = 10;
  t.state.current().jailTurns = 3;
  t.state.turnPhase = TurnPhase::Rolling;
  t.state.die1 = 2;
  t.state.die2 = 3;
  t.state.diceFrame = 7;
  t.game.DiceTick();
  EXPECT_FALSE(t.ui.walkPending());
  EXPECT_EQ(t.state.players[0].position, 10);
  EXPECT_EQ(t.state.players[0].jailTurns, 3);
  EXPECT_EQ(t.state.currentPlayer, 1);
  EXPECT_EQ(t.state.turnPhase, TurnPhase::AwaitRoll);
}

TEST(DiceTick, ThirdDoubleGoesToJailWithoutSalaryAndPassesTheTurn) {
  TestGame t(3);
  t.state.current().position = 36;
  t.state.doublesInRow = 2;
  t.state.turnPhase = TurnPhase::Rolling;
  t.state.die1 = t.state.die2 = 5;
  t.state.diceFrame = 7;
  t.game.DiceTick();
  t.ui.Pump();  // persons: the walk and the landing, then the next player waits for Roll
  const Player& p = t.state.players[0];
  EXPECT_EQ(p.position, 10);
  EXPECT_EQ(p.money, 30000);
  EXPECT_EQ(p.jailTurns, 4);
  EXPECT_EQ(t.state.currentPlayer, 1);
  EXPECT_EQ(t.state.doublesInRow, 0);
  EXPECT_EQ(t.state.statusText, "Din tur");
  EXPECT_EQ(t.ui.soundsPlayed[9], 1);
}

TEST(TurnPassing, DoubleKeepsThePlayerElseTheNextOneStillInTheGame) {
  struct Case {
    int die1, die2;
    int bankruptMask;
    int next, doubles;
    const char* status;
  };
  const Case cases[] = {
      {3, 3, 0, 0, 1, "Slå igen"},
      {3, 4, 0, 1, 0, "Din tur"},
      {3, 4, 0b0010, 2, 0, "Din tur"},
      {3, 4, 0b1110, 0, 0, "Din tur"},  // wraps round to the first player
  };
  for (const Case& c : cases) {
    TestGame t(4);
    for (int i = 0; i < 4; ++i) t.state.players[i].isBankrupt = (c.bankruptMask >> i) & 1;
    EXPECT_EQ(t.LandOn(20, c.die1, c.die2), 1);
    EXPECT_EQ(t.state.currentPlayer, c.next);
    EXPECT_EQ(t.state.doublesInRow, c.doubles);
    EXPECT_EQ(t.state.statusText, c.status);
    EXPECT_EQ(t.state.turnPhase, TurnPhase::AwaitRoll);
  }
}

TEST(TurnPassing, AComputerRollsAtOnceOutsideANetworkGameOnly) {
  struct Case {
    int networkGame;
    int nextIsComputer;
    bool rolls;
  };
  const Case cases[] = {{0, 1, true}, {0, 0, false}, {0x401, 2, false}};
  for (const Case& c : cases) {
    TestGame t(2);
    t.state.networkGame = c.networkGame;
    t.state.players[1].isComputer = static_cast<std::int16_t>(c.nextIsComputer);
    t.LandOn(20, 1, 2);
    EXPECT_EQ(t.state.currentPlayer, 1);
    EXPECT_EQ(t.ui.dicePending(), c.rolls);
    EXPECT_EQ(t.ui.rollFocus, c.rolls ? 0 : 1);
    if (c.networkGame != 0) {
      EXPECT_EQ(t.state.statusText, "Bertil spelar");
    }
  }
}

}  // namespace
}  // namespace tomtura
