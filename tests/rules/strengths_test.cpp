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

// Rents of a colour group as a real board has them, so that houses matter.
void RealRents(DealGame& g, std::initializer_list<int> streets) {
  for (int p : streets) g.prop(p).rent = {400, 2000, 6000, 14000, 17000, 20000};
}

TEST(Strengths, OddsOfTheSquaresAreTheDiceAndTheJail) {
  const auto& odds = LandingOdds();
  double sum = 0;
  for (double o : odds) sum += o;
  EXPECT_NEAR(sum, 1.0, 1e-9);
  EXPECT_DOUBLE_EQ(odds[kGoToJailSquare] > 0 ? 1 : 0, 1);  // landed on, then sent on
  // The jail gathers the visitors of the corner opposite, so the squares after it are busier.
  EXPECT_GT(PropertyOdds(kBoardLayout[kJailSquare + 6]),
            PropertyOdds(kBoardLayout[kJailSquare - 1]));
  EXPECT_EQ(PropertyOdds(kChanceJailCard), 0);
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

TEST(Strengths, HardStaysInJailWhenTheStreetsBeyondItChargeHighRents) {
  struct Case {
    int houses;      // on every street of player 1
    bool mortgaged;  // player 1's streets
    Answers pays;
  };
  const Case cases[] = {
      {kHotel, false, {false, true}},  // Hard waits; Normal pays with 10000 in hand
      {0, true, {true, true}},         // nothing to fear: out at once
  };
  for (const Case& c : cases) {
    DealGame g;
    for (int p = 0; p < kBoardPropertyCount; ++p) {
      g.prop(p).owner = 1;
      g.prop(p).mortgaged = c.mortgaged;
      if (p < kStreetCount) g.prop(p).houses = static_cast<std::int16_t>(c.houses);
    }
    g.player(0).jailTurns = 4;
    g.player(0).money = 10000;
    g.player(0).position = kJailSquare;
    EXPECT_EQ((Answers{MindOf(Strength::Hard).PaysBail(g.game), NormalMind().PaysBail(g.game)}),
              c.pays)
        << c.houses;
  }
  // While most of the board is the bank's, Hard pays to go on buying.
  DealGame g;
  g.player(0).jailTurns = 4;
  g.player(0).money = 1000;
  EXPECT_EQ((Answers{MindOf(Strength::Hard).PaysBail(g.game), NormalMind().PaysBail(g.game)}),
            (Answers{true, false}));
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

TEST(Strengths, TwoHardPlayersSwapStreetsThatFinishAGroupForEach) {
  // Player 0 holds two of group 5 and one of group 4, player 1 the reverse; swapping 13 for 16
  // finishes a group for each. The groups are alike, so each gains about what the other does:
  // weighed one against the other alone, one of the two would always say no.
  DealGame g(2);
  RealRents(g, {11, 12, 13, 14, 15, 16});
  g.Own(0, {14, 15, 13});
  g.Own(1, {11, 12, 16});
  const PropertyTable& table = g.game.state.properties;
  const ComputerMind& hard = MindOf(Strength::Hard);
  EXPECT_TRUE(hard.Accepts(g.game, 1, 0, 16, 13, table));
  // Normal will not give the dearer street without one and a half times the difference.
  EXPECT_FALSE(NormalMind().Accepts(g.game, 1, 0, 16, 13, table));
  g.game.state.currentPlayer = 1;
  EXPECT_TRUE(hard.Accepts(g.game, 0, 0, 13, 16, table));
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
