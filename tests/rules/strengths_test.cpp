// The computer players' answers at their thresholds, Normal's and, where they differ from it,
// Easy's and Hard's, as far as the seeded whole games (tests/sim) do not pin them down.
#include "rules/computer_mind.h"

#include "../trade/deal_fixture.h"
#include "rules/normal_player.h"

namespace tomtura::trade_test {
namespace {

// With a whole group, Normal goes short only while its liquidation value is above twice the
// price; its other purchases and its bail are pinned down by the seeded whole games (tests/sim).
TEST(ComputerBuys, ShortOfMoneyWithAWholeGroupOnlyAboveTwiceThePrice) {
  for (auto [money, buys] : {std::pair{1500, false}, {1700, true}}) {
    DealGame g;
    g.Own(0, {0, 1, 2, 3});
    g.player(0).money = money;
    EXPECT_EQ(NormalMind().Buys(g.game, 4), buys) << money;
  }
}

TEST(ComputerAccepts, DealsAskedByAComputer) {
  // Player 0 asks player 1. Street 2 costs 2000, street 4 2400.
  // clang-format off
  const struct {
    std::vector<int> askerOwns, askedOwns;
    int money, given, received;
    bool mortgaged, yes;
  } cases[] = {
      {{}, {22}, 100000, 22, -1, false, false},  // never hands over a station
      {{}, {2}, 4001, 2, -1, false, true}, {{}, {2}, 4000, 2, -1, false, false},  // > 2 x price
      {{3, 4}, {2}, 5000, 2, -1, false, true},   // completing the asker's group: 5 x half
      {{3, 4}, {2}, 4999, 2, -1, false, false},
      {{}, {2, 3}, 100000, 2, -1, false, false},  // keeps a nearly complete group
      {{}, {2, 3}, -4800, -1, 4, false, true}, {{}, {2, 3}, -4801, -1, 4, false, false},
      {{}, {}, -2399, -1, 4, false, true}, {{}, {}, -2400, -1, 4, false, false},
      {{}, {}, -1199, -1, 4, true, true}, {{}, {}, -1200, -1, 4, true, false}};
  // clang-format on
  for (const auto& c : cases) {
    DealGame g;
    for (int p : c.askerOwns) g.prop(p).owner = 0;
    for (int p : c.askedOwns) g.prop(p).owner = 1;
    if (c.received >= 0) g.prop(c.received).mortgaged = c.mortgaged;
    EXPECT_EQ(
        NormalMind().Accepts(g.game, 1, c.money, c.given, c.received, g.game.state.properties),
        c.yes)
        << c.money << " " << c.given << " " << c.received;
  }
}

TEST(Strengths, HardBidsInHundredsUpToThreeTimesThePriceForTheStreetThatFinishesItsGroup) {
  const struct {
    std::vector<int> bidderOwns;
    int bid, hard, normal;  // hard, normal: the raise each gives
  } cases[] = {
      {{}, 0, 100, 2000},                // Normal jumps to the price at once
      {{}, 2000, 0, 250},                // an ordinary street: Hard stops at its price
      {{2, 3}, 2400 * 26 / 10, 100, 0},  // finishing its group: 3 x price against 2.5 x
  };
  for (const auto& c : cases) {
    DealGame g;
    g.Own(1, c.bidderOwns);
    const int p = c.bidderOwns.empty() ? 2 : 4;
    EXPECT_EQ(MindOf(Strength::Hard).AuctionRaise(g.game, 1, c.bid, p), c.hard) << c.bid;
    EXPECT_EQ(NormalMind().AuctionRaise(g.game, 1, c.bid, p), c.normal) << c.bid;
  }
}

// Easy sells the street that finishes player 0's group for anything over its price (2400).
TEST(Strengths, EasySellsAStreetForAnythingOverItsPrice) {
  DealGame g;
  const ComputerMind& easy = MindOf(Strength::Easy);
  g.Own(0, {2, 3});
  g.Own(1, {4});
  const PropertyTable& table = g.game.state.properties;
  EXPECT_TRUE(easy.Accepts(g.game, 1, 2401, 4, -1, table));
  EXPECT_FALSE(NormalMind().Accepts(g.game, 1, 2401, 4, -1, table));
  EXPECT_FALSE(easy.Accepts(g.game, 1, 2400, 4, -1, table));
}

}  // namespace
}  // namespace tomtura::trade_test
