// SPDX-License-Identifier: GPL-3.0-or-later
// New games, players who cannot pay, bankruptcy and the end of the game.
#include "../trade/deal_fixture.h"
#include "store/saved_game.h"

namespace tomtura::trade_test {
namespace {

TEST(NewGame, ResetsPlayersPropertiesAndTurn) {
  DealGame g(4);
  GameState& s = g.game.state;
  g.player(0).isComputer = 0;
  Player& p1 = g.player(1);
  p1.position = 17, p1.money = 5, p1.jailTurns = 3, p1.isBankrupt = 1;
  g.Own(2, {5, 28});
  g.prop(5).mortgaged = 1, g.prop(3).houses = 2;
  s.propertyLists[2].items = {5, 28};
  s.currentPlayer = 3, s.gameRunning = s.doublesInRow = 1;
  s.turnPhase = TurnPhase::GameOver;
  s.log.Add(1, "old");

  g.game.NewGame();

  for (int n = 0; n < kMaxPlayers; ++n) {
    const Player& p = g.player(n);
    EXPECT_EQ(std::tuple(p.money, p.position, p.isBankrupt, p.jailTurns, s.firstLap[n]),
              std::tuple(30000, 0, 0, 0, 257));
    EXPECT_EQ(s.propertyLists[n].visible, n < 4) << n;
    EXPECT_TRUE(s.propertyLists[n].items.empty()) << n;
  }
  for (const Property& p : s.properties) {
    EXPECT_EQ(std::tuple(int{p.owner}, int{p.mortgaged}, int{p.houses}), std::tuple(-1, 0, 0));
  }
  EXPECT_EQ(g.prop(5).name.utf8(), "Gata 5");
  EXPECT_EQ(std::tuple(s.currentPlayer, s.turnPhase, s.gameRunning, s.doublesInRow),
            std::tuple(0, TurnPhase::AwaitRoll, 0, 0));
  EXPECT_EQ(s.statusText, "Slå");
  EXPECT_EQ(std::vector(s.log.entries().begin(), s.log.entries().end()),
            std::vector<std::string>{"-New  game"});
  s.settings.firstLapRule = 0;
  g.game.NewGame();
  EXPECT_EQ(s.firstLap, (std::array<std::uint16_t, kMaxPlayers>{}));
}

TEST(NewGame, AComputerFirstPlayerRollsAtOnceOutsideNetworkGames) {
  DealGame g, held, net;
  g.game.NewGame();
  EXPECT_TRUE(g.ui.dicePending());
  held.game.NewGame(false);
  EXPECT_FALSE(held.ui.dicePending());
  test_support::ScriptedSeat elsewhere(true);
  net.game.referee.SetSeat(0, &elsewhere);
  net.game.NewGame();
  EXPECT_FALSE(net.ui.dicePending());
  EXPECT_EQ(net.game.state.statusText, "Väntar på SpelareA");
}

// A loaded game goes on with the password of the person on turn; a cancel waits for it, and the
// Roll command asks only for it again: the start of his turn (jail, dealing) had been before
// the game was saved.
TEST(Resume, ThePlayerOnTurnGivesHisPasswordFirst) {
  DealGame g(3);
  // Three players, their records and the properties as they are here, player 1 on turn.
  SavedGame saved{3, g.game.state.players, g.game.state.properties, 1};
  saved.players[1].isComputer = 0;
  saved.players[1].password.setUtf8("abc");
  saved.players[1].jailTurns = 3;
  saved.properties[4].owner = 1;
  g.ui.logins = {2, 1};
  g.game.Resume(saved);
  EXPECT_EQ(g.game.state.turnPhase, TurnPhase::AwaitLogin);
  EXPECT_EQ(g.ui.Count("AskPassword"), 1);
  EXPECT_EQ(g.game.state.propertyLists[1].items, std::vector<int>{4});

  g.game.Roll();
  EXPECT_EQ(g.ui.Count("AskPassword"), 2);
  EXPECT_EQ(g.game.state.turnPhase, TurnPhase::AwaitRoll);
  EXPECT_EQ(g.player(1).jailTurns, 3);
  EXPECT_EQ(g.ui.Count("AskQuestion"), 0);  // no bail question a second time
  EXPECT_FALSE(g.ui.dicePending());
  g.game.Roll();  // now the throw
  EXPECT_TRUE(g.ui.dicePending());
}

// A game saved after its end (the simulator saves its last game) has its loser on turn: it opens
// as over with the winner named, and nobody throws. A bankrupt player on turn with others still
// in hands the turn on.
TEST(Resume, ABankruptPlayerOnTurnHandsOnOrTheGameIsOver) {
  const struct {
    std::vector<int> bankrupt;
    int onTurn, expectedTurn;
    TurnPhase expectedPhase;
    std::string status;
  } cases[] = {
      {{0, 1}, 1, 2, TurnPhase::GameOver, "SpelareC vann!"},
      {{2}, 2, 0, TurnPhase::Rolling, "Slå"},  // a computer player, who throws at once
      {{}, 1, 1, TurnPhase::Rolling, "Slå"},
  };
  for (const auto& c : cases) {
    DealGame g(3);
    SavedGame saved{3, g.game.state.players, g.game.state.properties, c.onTurn};
    for (int n : c.bankrupt) saved.players[n].isBankrupt = 1;
    g.game.Resume(saved);
    const GameState& s = g.game.state;
    EXPECT_EQ(std::tuple(s.currentPlayer, s.turnPhase, s.statusText),
              std::tuple(c.expectedTurn, c.expectedPhase, c.status))
        << c.onTurn;
    EXPECT_EQ(g.ui.dicePending(), c.expectedPhase == TurnPhase::Rolling) << c.onTurn;
  }
}

TEST(CannotPay, OnlyWithNegativeLiquidationAndNothingLeftToOffer) {
  DealGame g;
  GameState& s = g.game.state;
  g.Own(0, {2});  // mortgage value 1000
  g.player(0).money = -1001;
  EXPECT_FALSE(g.game.CannotPay(s.properties, s.players, true));  // street not yet offered
  s.askedThisTurn[2] = 1;
  g.player(0).money = -1000;
  EXPECT_FALSE(g.game.CannotPay(s.properties, s.players, true));  // liquidation exactly 0
  g.player(0).money = -1001;
  EXPECT_TRUE(g.game.CannotPay(s.properties, s.players, false));
  EXPECT_TRUE(g.ui.events.empty());
  EXPECT_TRUE(g.game.CannotPay(s.properties, s.players, true));
  EXPECT_EQ(g.ui.Texts("ShowMessage"), std::vector<std::string>{"SpelareA kan inte betala"});
  PlayerTable copy = s.players;  // the tables given are the ones judged
  copy[0].money = 0;
  EXPECT_FALSE(g.game.CannotPay(s.properties, copy, false));
}

// The lists, and that nothing is left to a bankrupt player, are the whole games' invariants.
TEST(GoBankrupt, ReturnsEverythingToTheBankPassesTheTurnAndEndsTheGame) {
  DealGame g(5);
  GameState& s = g.game.state;
  g.player(0).isBankrupt = g.player(2).isBankrupt = 1;
  s.currentPlayer = 4, s.gameRunning = 1;
  g.Own(4, {5, 28});
  g.prop(5).mortgaged = 1, g.prop(5).houses = 3;
  g.player(4).money = -700;

  EXPECT_FALSE(g.game.GoBankrupt());
  EXPECT_EQ(s.currentPlayer, 1);  // round past player 0, who is out
  EXPECT_EQ(g.player(4).money, -700);
  EXPECT_EQ(std::tuple(int{g.prop(5).owner}, int{g.prop(5).mortgaged}, int{g.prop(5).houses}),
            std::tuple(-1, 0, 0));
  EXPECT_EQ(g.LogLines(), std::vector<std::string>{"SpelareE är bankrutt och åker ut"});
  EXPECT_EQ(g.ui.Count("ShowMessage"), 0);

  EXPECT_TRUE(g.game.GoBankrupt());  // player 1 out leaves player 3 alone
  EXPECT_EQ(std::pair(s.turnPhase, s.gameRunning), std::pair(TurnPhase::GameOver, 0));
  EXPECT_EQ(g.ui.Texts("ShowMessage"), std::vector<std::string>{"SpelareD vann!"});
}

// Throwing the game away loses something once a deal changed it or an auction sold a property;
// a window closed with OK after changing nothing leaves nothing to lose, nor does a game given up
// (a network game that ended) or a new one.
TEST(UnsavedProgress, SetByWhatChangesTheGameClearedWhenItIsGivenUpOrNew) {
  DealGame g(3);
  GameState& s = g.game.state;
  g.player(0).isComputer = 0;
  g.ui.playWindow = [](PlayWindowDeals&) { return kPlayWindowOk; };
  g.game.referee.RunPlayWindow(2);
  EXPECT_FALSE(s.unsavedProgress);
  g.player(0).position = 6;
  g.game.referee.RunAuction();
  EXPECT_TRUE(s.unsavedProgress);
  g.game.StopGame();
  EXPECT_FALSE(s.unsavedProgress);
  s.unsavedProgress = true;
  g.game.NewGame(false);
  EXPECT_FALSE(s.unsavedProgress);
}

}  // namespace
}  // namespace tomtura::trade_test
