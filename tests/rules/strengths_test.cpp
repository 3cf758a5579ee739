// The answers of the Easy and Hard computer players where they differ from Normal's: each row
// states what the strength answers and what Normal answers to the same question.
#include "data/estate_value.h"
#include "rules/computer_mind.h"
#include "trade/hard_standing.h"

#include "../trade/deal_fixture.h"
#include "rules/normal_player.h"

namespace tomtura::trade_test {
namespace {

struct Answers {
  bool strength;
  bool normal;
  bool operator==(const Answers&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Answers& a) {
  return out << "{" << a.strength << ", " << a.normal << "}";
}

TEST(Strengths, HardBuysWhatItCanPayForUnlessARentAheadCallsForMore) {
  // Street 11 costs 4400.
  struct Case {
    int money;
    std::vector<int> owns;
    bool hotelAhead;  // a rival's hotel five squares ahead, rent 20000
    Answers buys;
  };
  const Case cases[] = {
      {4400 + 500, {}, false, {true, false}},  // Normal wants 2000 left over
      {3000, {20}, false, {true, false}},      // Hard pays the rest by mortgaging street 20
      {4400 + 3000, {}, true, {false, true}},  // Hard keeps back the rent it may meet
      {4400 + 30000, {}, true, {true, true}},
  };
  for (const Case& c : cases) {
    DealGame g;
    g.player(0).money = c.money;
    g.Own(0, c.owns);
    if (c.hotelAhead) {
      g.prop(5).owner = 1;  // square 11, the player stands on 6
      g.prop(5).houses = kHotel;
      g.prop(5).rent[kHotel] = 20000;
      g.player(0).position = 6;
    }
    const Answers got{MindOf(Strength::Hard).Buys(g.game, 11), NormalMind().Buys(g.game, 11)};
    EXPECT_EQ(got, c.buys) << c.money;
  }
}

TEST(Strengths, HardJudgesADealByWhatItDoesToBothStandings) {
  // Player 0 asks player 1, who answers.
  struct Case {
    const char* what;
    std::vector<int> askerOwns, askedOwns, otherOwns;
    int moneyReceived, given, received;
    Answers yes;
  };
  const Case cases[] = {
      // The fourth station doubles every fare: worth more than its price to Hard.
      {"fourth station", {25}, {22, 23, 24}, {}, -4200, -1, 25, {true, false}},
      // A street of a group split with others, at nearly its price: Normal buys it.
      {"split street", {5}, {}, {6, 7}, -2700, -1, 5, {false, true}},
  };
  for (const Case& c : cases) {
    DealGame g;
    g.Own(0, c.askerOwns);
    g.Own(1, c.askedOwns);
    g.Own(2, c.otherOwns);
    const PropertyTable& table = g.game.state.properties;
    const Answers got{
        MindOf(Strength::Hard).Accepts(g.game, 1, c.moneyReceived, c.given, c.received, table),
        NormalMind().Accepts(g.game, 1, c.moneyReceived, c.given, c.received, table)};
    EXPECT_EQ(got, c.yes) << c.what;
  }
}

TEST(Strengths, HardBidsInHundredsUpToThreeTimesThePriceForTheStreetThatFinishesItsGroup) {
  struct Case {
    std::vector<int> bidderOwns;
    int bid;
    int hard, normal;  // the raise each gives
  };
  const Case cases[] = {
      {{}, 0, 100, 2000},                // Normal jumps to the price at once
      {{}, 2000, 0, 250},                // an ordinary street: Hard stops at its price
      {{2, 3}, 2400 * 26 / 10, 100, 0},  // finishing its group: 3 x price against 2.5 x
  };
  for (const Case& c : cases) {
    DealGame g;
    g.Own(1, c.bidderOwns);
    const int p = c.bidderOwns.empty() ? 2 : 4;
    EXPECT_EQ(MindOf(Strength::Hard).AuctionRaise(g.game, 1, c.bid, p), c.hard) << c.bid;
    EXPECT_EQ(NormalMind().AuctionRaise(g.game, 1, c.bid, p), c.normal) << c.bid;
  }
}

TEST(Strengths, EasyMakesABeginnersMistakes) {
  DealGame g;
  const ComputerMind& easy = MindOf(Strength::Easy);
  // Keeps 5000 in hand, where Normal buys with 2000 left over.
  g.player(0).money = 2000 + 3000;
  EXPECT_EQ((Answers{easy.Buys(g.game, 2), NormalMind().Buys(g.game, 2)}), (Answers{false, true}));
  // Pays the bail with any money, where Normal waits until it has (turns left + 2) x 1000.
  g.player(0).jailTurns = 4;
  g.player(0).money = 1500;
  EXPECT_EQ((Answers{easy.PaysBail(g.game), NormalMind().PaysBail(g.game)}),
            (Answers{true, false}));
  // Sells the street that finishes player 0's group for anything over its price.
  g.Own(0, {2, 3});
  g.Own(1, {4});
  const PropertyTable& table = g.game.state.properties;
  EXPECT_EQ((Answers{easy.Accepts(g.game, 1, 2500, 4, -1, table),
                     NormalMind().Accepts(g.game, 1, 2500, 4, -1, table)}),
            (Answers{true, false}));
  EXPECT_FALSE(easy.Accepts(g.game, 1, 2400, 4, -1, table));
  // Bids up to the price (street 5 costs 2800) and no further, where Normal goes on to half as
  // much again.
  EXPECT_EQ(easy.AuctionRaise(g.game, 2, 2700, 5), 100);
  EXPECT_EQ(easy.AuctionRaise(g.game, 2, 2800, 5), 0);
  EXPECT_EQ(NormalMind().AuctionRaise(g.game, 2, 2800, 5), 250);
}

}  // namespace
}  // namespace tomtura::trade_test
