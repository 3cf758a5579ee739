// The dealing of the Easy and Hard computer players where it differs from Normal's. Player 0
// deals; each test plays the same position at the strength and at Normal.
#include "deal_fixture.h"
#include "trade/computer_deals.h"

namespace tomtura::trade_test {
namespace {

constexpr const char* kExchangeText = "85=%s ger %s till %s för %s och %d?\n";

void Deal(DealGame& g, Strength strength) {
  g.player(0).strength = strength;
  RunComputerTransactions(g.game);
}

std::vector<int> Owners(DealGame& g, std::initializer_list<int> properties) {
  std::vector<int> owners;
  for (int p : properties) owners.push_back(g.prop(p).owner);
  return owners;
}

std::vector<int> Houses(DealGame& g, std::initializer_list<int> streets) {
  std::vector<int> houses;
  for (int p : streets) houses.push_back(g.prop(p).houses);
  return houses;
}

TEST(StrengthDeals, HardPaysADebtBySellingBeforeItMortgages) {
  for (Strength strength : {Strength::Hard, Strength::Normal}) {
    DealGame g;
    g.Own(0, {2, 5});
    g.player(0).money = -500;
    Deal(g, strength);
    if (strength == Strength::Hard) {
      // Street 5 to the richest other player for its price less 100; nothing mortgaged.
      EXPECT_EQ(Owners(g, {2, 5}), (std::vector<int>{0, 1}));
      EXPECT_EQ(g.player(0).money, 2200);
      EXPECT_EQ(g.prop(2).mortgaged, 0);
    } else {
      EXPECT_EQ(Owners(g, {2, 5}), (std::vector<int>{0, 0}));
      EXPECT_EQ(g.prop(5).mortgaged, 1);
      EXPECT_EQ(g.player(0).money, 900);
    }
  }
}

TEST(StrengthDeals, HardOffersASpareStationAndTheDifferenceForTheStreetItLacks) {
  for (Strength strength : {Strength::Hard, Strength::Normal}) {
    DealGame g(3, kExchangeText);
    for (int p : {5, 6, 7}) g.prop(p).rent = {400, 2000, 6000, 14000, 17000, 20000};
    g.Own(0, {5, 6, 22});
    g.Own(1, {7});
    g.player(1).isComputer = 0;  // answers in the consent dialog: yes
    g.ui.consents = {true};
    Deal(g, strength);
    const std::vector<std::string> asked = g.ui.Texts("AskConsent");
    ASSERT_FALSE(asked.empty());
    if (strength == Strength::Hard) {
      // Street 7 (3200) for the station (4000): player 1 pays the difference less 100.
      EXPECT_EQ(asked.front(), "SpelareB ger Station 22 till SpelareA mot Gata 7 och får 700?");
      EXPECT_EQ(Owners(g, {7, 22}), (std::vector<int>{0, 1}));
    } else {
      // Normal has no street that finishes a group of player 1's to offer: it pays 5 halves.
      EXPECT_EQ(asked.front(), "SpelareB säljer Gata 7 till SpelareA för 8100?");
    }
  }
}

TEST(StrengthDeals, EasyOffersThePriceAndATenthAndBuildsOneHouseATurn) {
  for (Strength strength : {Strength::Easy, Strength::Normal}) {
    DealGame g;
    g.Own(0, {2, 3, 5, 6, 7});
    g.Own(1, {4});
    g.player(1).isComputer = 0;  // says no
    g.player(0).money = 20000;
    Deal(g, strength);
    const std::vector<std::string> asked = g.ui.Texts("AskConsent");
    ASSERT_EQ(asked.size(), 1u);
    if (strength == Strength::Easy) {
      EXPECT_EQ(asked.front(), "SpelareB säljer Gata 4 till SpelareA för 2640?");
      EXPECT_EQ(Houses(g, {5, 6, 7}), (std::vector<int>{1, 0, 0}));
    } else {
      // Three halves of the price and a hundred, from a player with a whole group.
      EXPECT_EQ(asked.front(), "SpelareB säljer Gata 4 till SpelareA för 3700?");
      EXPECT_EQ(Houses(g, {5, 6, 7}), (std::vector<int>{3, 3, 3}));
    }
  }
}

}  // namespace
}  // namespace tomtura::trade_test
