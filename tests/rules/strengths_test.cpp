// The answers of the Easy and Hard computer players where they differ from Normal's and the
// seeded whole games (tests/sim) do not pin them down.
#include "rules/computer_mind.h"

#include "../trade/deal_fixture.h"
#include "rules/normal_player.h"

namespace tomtura::trade_test {
namespace {

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
