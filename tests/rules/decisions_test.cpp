// The computer's decisions: exact during a computer's turn, varied during a person's.
#include "../trade/deal_fixture.h"
#include "rules/normal_player.h"

namespace tomtura::trade_test {
namespace {

TEST(Jitter, ExactDuringAComputersTurnAndOneDrawPerCallDuringAPersons) {
  DealGame g;
  Random untouched = g.game.rng;
  EXPECT_EQ(Jitter(g.game, 2), 2.0);
  g.player(0).isComputer = 0;
  for (int i = 0; i < 50; ++i) {
    EXPECT_DOUBLE_EQ(Jitter(g.game, 2), 2 + (untouched.Rand() % 5 - 2) * 0.1);
  }
}

TEST(ComputerBuysAndPaysBail, Thresholds) {
  struct Case {
    int p, money;
    std::vector<int> owned;
    bool buys;
  };
  // clang-format off
  const Case cases[] = {
      {22, 6000, {}, false}, {22, 6001, {}, true},       // strictly more than price + 2000
      {4, 2000, {2, 3}, true}, {4, 200, {2, 3}, false},  // completes: liquidation above price
      {4, 4000, {2}, false},                             // does not complete its group
      {4, 1500, {0, 1, 2, 3}, false}, {4, 1700, {0, 1, 2, 3}, true}};  // a group: 2 x price
  // clang-format on
  for (const Case& c : cases) {
    DealGame g;
    for (int p : c.owned) g.prop(p).owner = 0;
    g.player(0).money = c.money;
    EXPECT_EQ(NormalMind().Buys(g.game, c.p), c.buys) << c.p << " " << c.money;
  }
  DealGame g;
  g.player(0).jailTurns = 4;
  for (auto [money, pays] : {std::pair{6000, true}, {5999, false}}) {
    g.player(0).money = money;
    EXPECT_EQ(NormalMind().PaysBail(g.game), pays) << money;
  }
}

TEST(ComputerAccepts, DealsAskedByAComputer) {
  // Player 0 asks player 1. Street 2 costs 2000, street 4 2400.
  struct Case {
    std::vector<int> askerOwns, askedOwns;
    int money, given, received;
    bool mortgaged, yes;
  };
  // clang-format off
  const Case cases[] = {
      {{}, {22}, 100000, 22, -1, false, false},  // never hands over a station
      {{}, {2}, 4001, 2, -1, false, true}, {{}, {2}, 4000, 2, -1, false, false},  // > 2 x price
      {{3, 4}, {2}, 5000, 2, -1, false, true},   // completing the asker's group: 5 x half
      {{3, 4}, {2}, 4999, 2, -1, false, false},
      {{}, {2, 3}, 100000, 2, -1, false, false},  // keeps a nearly complete group
      {{}, {2, 3}, -4800, -1, 4, false, true}, {{}, {2, 3}, -4801, -1, 4, false, false},
      {{}, {}, -2399, -1, 4, false, true}, {{}, {}, -2400, -1, 4, false, false},
      {{}, {}, -1199, -1, 4, true, true}, {{}, {}, -1200, -1, 4, true, false}};
  // clang-format on
  for (const Case& c : cases) {
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

TEST(ComputerAccepts, WhatItTakesForAPropertyItHandsOver) {
  // Player 1 owns only `given` (street 2 costs 2000, street 5 2800) and is offered `money`, in an
  // exchange with street `received` too, worth 3 x its price / 2. What the offer must reach
  // depends on his liquidation value (4999 or 5000) and the mortgage.
  struct Case {
    int askedMoney, given, received;
    bool mortgaged;
    int money;
    bool yes;
  };
  // clang-format off
  const Case cases[] = {
      {3999, 2, -1, false, 2000, true}, {3999, 2, -1, false, 1999, false},  // 4999: 2 x price / 2
      {4000, 2, -1, false, 2000, false},                                    // 5000: over 2 x price
      {0, 2, -1, true, 1000, true}, {0, 2, -1, true, 999, false},           // 2 x price / 4
      {30000, 5, 2, false, 1200, true}, {30000, 5, 2, false, 1199, false},  // 3 x 2800 / 2
      {3599, 5, 2, false, -200, true}, {3599, 5, 2, false, -201, false},    // 4999: 2 x 2800 / 2
      {3600, 5, 2, false, -200, false}};                                    // 5000: 3 x 2800 / 2
  // clang-format on
  for (const Case& c : cases) {
    DealGame g;
    g.Own(1, {c.given});
    if (c.received >= 0) g.Own(0, {c.received});
    g.prop(c.given).mortgaged = c.mortgaged;
    g.player(1).money = c.askedMoney;
    EXPECT_EQ(
        NormalMind().Accepts(g.game, 1, c.money, c.given, c.received, g.game.state.properties),
        c.yes)
        << c.askedMoney << " " << c.given << " " << c.money;
  }
}

TEST(ComputerAuctionRaise, JumpsToThePriceThenRaisesUpToItsLimit) {
  // Street 2 (2000): the limit is 1.5 x price, or 2.5 x price when it completes a group.
  struct Case {
    std::vector<int> owned;
    int bid, money, raise;
  };
  // clang-format off
  const Case cases[] = {
      {{}, 0, 2001, 2000}, {{}, 0, 2000, 250}, {{}, 2000, 30000, 250}, {{}, 2800, 30000, 100},
      {{}, 3001, 30000, 0}, {{}, 1000, 1250, 0}, {{3, 4}, 4800, 30000, 100},
      {{3, 4}, 5001, 30000, 0}, {{3, 4}, 1000, 1250, 250}, {{0, 1, 3, 4}, 1000, 1250, 0}};
  // clang-format on
  for (const Case& c : cases) {
    DealGame g;
    for (int p : c.owned) g.prop(p).owner = 1;
    g.player(1).money = c.money;
    EXPECT_EQ(NormalMind().AuctionRaise(g.game, 1, c.bid, 2), c.raise) << c.bid << " " << c.money;
  }
}

}  // namespace
}  // namespace tomtura::trade_test
