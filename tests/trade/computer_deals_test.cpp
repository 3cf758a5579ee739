// SPDX-License-Identifier: GPL-3.0-or-later
// The computer's dealing at the end of its turn where the seeded whole games (tests/sim) do not
// pin it down: asking prices, the buyer among equals, and the margin a purchase leaves. Player 0
// is the acting computer player.
#include "trade/computer_deals.h"
#include "deal_fixture.h"

namespace tomtura::trade_test {
namespace {

TEST(ComputerDeals, SalesGoToTheRichestAtTheirAskingPrices) {
  // Liquidation value negative: nothing is mortgaged, each property is offered once.
  DealGame g;
  g.player(2).isComputer = 0;
  g.player(2).money = 31000;
  g.Own(0, {5, 8, 28});
  g.prop(5).mortgaged = 1;
  g.player(0).money = -10000;
  RunComputerTransactions(g.game);
  EXPECT_EQ(g.ui.Texts("AskConsent"),
            (std::vector<std::string>{"SpelareC köper Gata 8 för 3500 av SpelareA?",
                                      "SpelareC köper Gata 5(pant) för 1350 av SpelareA?",
                                      "SpelareC köper Fribrev för 500 av SpelareA?"}));
  EXPECT_EQ(g.ui.consentPlayers, (std::vector<int>{2, 2, 2}));
  EXPECT_EQ(g.game.state.refusedThisTurn[0], (1u << 5) | (1u << 8) | (1u << 28));

  // The only property sells for the whole debt; of two equally rich, the lower number buys.
  DealGame h;
  h.Own(0, {5});
  h.prop(5).mortgaged = 1;
  h.player(0).money = -1234;
  RunComputerTransactions(h.game);
  EXPECT_EQ(std::tuple(int{h.prop(5).owner}, h.player(0).money, h.player(1).money),
            std::tuple(1, 0, 30000 - 1234));
  EXPECT_EQ(h.LogLines(),
            std::vector<std::string>{"SpelareA sålde Gata 5 till SpelareB för 1234 kr"});
}

TEST(ComputerDeals, APurchaseLeavesAMarginOfTheLiquidationValue) {
  // The missing street 4 (2400) is offered for 5 x half its price with streets 2 and 3 (margin
  // 1000). With group 0 as well, two houses go up first (money M - 2000, liquidation M + 2200),
  // then it offers 3 x half (margin 5000).
  const struct {
    bool ownsGroup;
    int money, offer;  // 0: none
  } cases[] = {{false, 5100, 6100}, {false, 5099, 0}, {true, 6500, 3700}, {true, 6499, 0}};
  for (const auto& c : cases) {
    DealGame g;
    g.player(1).isComputer = 0;
    g.Own(0, {2, 3});
    if (c.ownsGroup) g.Own(0, {0, 1});
    g.Own(1, {4});
    g.player(0).money = c.money;
    RunComputerTransactions(g.game);
    const std::string offer =
        "SpelareB säljer Gata 4 till SpelareA för " + std::to_string(c.offer) + "?";
    EXPECT_EQ(g.ui.Texts("AskConsent"),
              c.offer != 0 ? std::vector{offer} : std::vector<std::string>{})
        << c.ownsGroup << " " << c.money;
  }
}

}  // namespace
}  // namespace tomtura::trade_test
