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

TEST(StrengthDeals, HardSellsASpareStationToPayForHouses) {
  for (Strength strength : {Strength::Hard, Strength::Normal}) {
    DealGame g;
    g.Own(0, {2, 3, 4, 22});
    g.player(0).money = 1500;
    Deal(g, strength);
    if (strength == Strength::Hard) {
      // Sold for 3900; the houses stop where the station's fare, now player 1's, is still
      // in hand.
      EXPECT_EQ(g.prop(22).owner, 1);
      EXPECT_EQ(Houses(g, {2, 3, 4}), (std::vector<int>{1, 1, 2}));
      EXPECT_EQ(g.player(0).money, 1400);
    } else {
      // Normal mortgages it for half as much and builds fewer houses.
      EXPECT_EQ(std::tuple(g.prop(22).owner, int{g.prop(22).mortgaged}), std::tuple(0, 1));
      EXPECT_EQ(Houses(g, {2, 3, 4}), (std::vector<int>{1, 1, 1}));
    }
  }
}

TEST(StrengthDeals, HardBuildsThreeHousesOnEveryGroupBeforeAnyGetsAFourth) {
  for (Strength strength : {Strength::Hard, Strength::Normal}) {
    DealGame g;
    g.Own(0, {2, 3, 4, 20, 21});
    g.prop(20).houses = g.prop(21).houses = 3;
    g.player(0).money = 5000;
    Deal(g, strength);
    if (strength == Strength::Hard) {
      EXPECT_EQ(Houses(g, {2, 3, 4, 20, 21}), (std::vector<int>{1, 2, 2, 3, 3}));
    } else {
      // Normal builds from the top of the table: a fourth house comes first.
      EXPECT_EQ(Houses(g, {2, 3, 4, 20, 21}), (std::vector<int>{0, 0, 1, 3, 4}));
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

TEST(StrengthDeals, HardBuysIntoAGroupHeldOneEachByThreePlayers) {
  for (Strength strength : {Strength::Hard, Strength::Normal}) {
    DealGame g;
    g.Own(0, {8});
    g.Own(1, {9});
    g.Own(2, {10});
    g.player(0).money = 18000;  // Normal waits for more than 20000
    g.player(1).isComputer = 0;
    Deal(g, strength);
    const std::vector<std::string> asked = g.ui.Texts("AskConsent");
    if (strength == Strength::Hard) {
      EXPECT_EQ(asked, std::vector<std::string>{"SpelareB säljer Gata 9 till SpelareA för 7300?"});
    } else {
      EXPECT_TRUE(asked.empty());
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
