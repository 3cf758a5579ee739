#include "trade/play_deals.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "deal_fixture.h"

namespace tomtura {
namespace {

constexpr char kTexts[] =
    "100=%s: %s byter till sig %s mot %s och %d kr\n101=%s: %s köper %s för %d kr\n"
    "103=%s: %s ger %s och tar %s för %d kr\n104=%s: %s säljer %s för %d kr\n";

// The dealing game's groups, with street p costing 1000 + 100 p and its houses 500; two persons
// and a computer player, the first person on turn.
struct Deals : ::testing::Test {
  trade_test::DealGame g;
  trade_test::ScriptedFrontEnd& ui = g.ui;
  Game& game = g.game;

  Deals() : g(3, kTexts, 11) {
    for (int p = 0; p < kPropertyCount; ++p) {
      g.prop(p).name.setUtf8("Gata " + std::to_string(p));
      g.prop(p).price = static_cast<std::int16_t>(1000 + 100 * p);
      g.prop(p).housePrice = 500;
    }
    const char* names[] = {"Anna", "Bo", "Dator"};
    for (int n = 0; n < 3; ++n) {
      g.player(n).name.setUtf8(names[n]);
      g.player(n).isComputer = n == 2 ? 1 : 0;
    }
    game.state.currentPlayer = 0;
    game.state.turnPhase = TurnPhase::AwaitRoll;
  }
  const Property& work(int p) { return game.state.workProperties[p]; }

  // Anna's streets with houses and a mortgage, Bo's first street, and both saying yes.
  void OwnAnEstateToDealWith() {
    g.Own(0, {2, 3, 4, 9, 11, 12, 13, 14, 15, 16, 17, 22});
    g.Own(1, {0});
    for (int p : {11, 12, 13}) g.prop(p).houses = 4;
    for (int p : {14, 15, 16}) g.prop(p).houses = 1;
    g.prop(17).mortgaged = 1;
    ui.consents = {true, true};
  }
};

using Result = PlayWindowDeals::Result;

TEST_F(Deals, CancelAfterSeveralDealsKeepsOnlyTheRefusedFlags) {
  g.Own(0, {2, 3, 4});
  g.Own(1, {5, 12});
  game.state.log.Add(0, "före");
  const GameState before = game.state;
  ui.consents = {true, false};
  ui.playWindow = [&](PlayWindowDeals& deals) {
    EXPECT_EQ(deals.AskBuy(1, 5, false, -1, 2000), Result::Done);
    EXPECT_EQ(deals.AskBuy(1, 12, false, -1, 100), Result::Refused);
    EXPECT_EQ(deals.Mortgage(2), Result::Done);
    EXPECT_EQ(work(5).owner, 0);
    return kPlayWindowCancel;
  };
  EXPECT_EQ(game.referee.RunPlayWindow(0), kPlayWindowCancel);
  const GameState& after = game.state;
  EXPECT_EQ(after.players, before.players);
  EXPECT_EQ(after.properties, before.properties);
  EXPECT_EQ(after.log.entries(), before.log.entries());
  EXPECT_EQ(std::tuple(after.turnPhase, after.currentPlayer), std::tuple(TurnPhase::AwaitRoll, 0));
  std::array<std::uint16_t, kPropertyCount> refused{};
  refused[12] = 1;
  EXPECT_EQ(after.askedThisTurn, refused);
}

// The deal with each partner first, then what changed on each property, in the edition's words:
// the shipped ones, or those of an edition with words of its own, the house and hotel among them.
TEST_F(Deals, CommitWritesOneLinePerChangeOfEachPropertyInTheEditionsWords) {
  OwnAnEstateToDealWith();
  const GameState start = game.state;
  const std::pair<std::string, std::vector<std::string>> editions[] = {
      {"",
       {"Anna köpte Gata 0 av Bo", "Anna sålde Gata 9 till Bo", "Anna köpte hus på Gata 2",
        "Anna köpte hus på Gata 3", "Anna köpte hus på Gata 4", "Anna köpte hotell på Gata 13",
        "Anna sålde hus på Gata 14", "Anna upptecknade Gata 17", "Anna intecknade Gata 22"}},
      {"179=%s mortgaged %s\n180=%s paid off %s\n183=%s built %s on %s\n184=a house\n"
       "185=a hotel\n188=%s bought %s from %s\n189=%s sold %s to %s\n190=%s sold a house on %s\n",
       {"Anna bought Gata 0 from Bo", "Anna sold Gata 9 to Bo", "Anna built a house on Gata 2",
        "Anna built a house on Gata 3", "Anna built a house on Gata 4",
        "Anna built a hotel on Gata 13", "Anna sold a house on Gata 14", "Anna paid off Gata 17",
        "Anna mortgaged Gata 22"}},
  };
  for (const auto& [words, lines] : editions) {
    game.state = start;
    game.texts = TextCatalogue(IniFile::Parse("[TEXTS]\n" + words + kTexts + trade_test::kTexts));
    ui.consents = {true, true};
    ui.playWindow = [](PlayWindowDeals& deals) {
      EXPECT_EQ(deals.AskBuy(1, 0, false, -1, 500), Result::Done);
      EXPECT_EQ(deals.AskSell(1, 9, false, -1, 300), Result::Done);
      for (int p : {2, 3, 4, 2}) EXPECT_EQ(deals.BuyHouse(p), Result::Done) << p;  // two on 2
      EXPECT_EQ(deals.BuyHouse(13), Result::Done);  // the fifth is the hotel
      EXPECT_EQ(deals.SellHouse(14), Result::Done);
      EXPECT_EQ(deals.Unmortgage(17), Result::Done);  // 1350 + 135
      EXPECT_EQ(deals.Mortgage(22), Result::Done);    // 1600
      return kPlayWindowOk;
    };
    EXPECT_EQ(game.referee.RunPlayWindow(0), kPlayWindowOk);
    EXPECT_EQ(game.state.turnPhase, TurnPhase::AwaitRoll);
    EXPECT_EQ(g.LogLines(), lines);
    const GameState& s = game.state;
    EXPECT_EQ(std::tuple(s.properties[2].houses, s.properties[13].houses, s.properties[0].owner,
                         s.properties[9].owner),
              std::tuple(2, kHotel, 0, 1));
    EXPECT_EQ(s.players[0].money, kStartMoney - 500 + 300 - 4 * 500 - 500 + 250 - 1485 + 1600);
    EXPECT_EQ(s.players[1].money, kStartMoney + 500 - 300);
    EXPECT_EQ(s.propertyLists[0].items,
              (std::vector<int>{0, 2, 3, 4, 11, 12, 13, 14, 15, 16, 17, 22}));
  }
}

TEST_F(Deals, HousesGoUpAndComeDownEvenlyOverTheGroup) {
  g.Own(0, {2, 3, 4});
  PlayWindowDeals deals(game);
  const struct {
    bool build;
    int property;
    Result outcome;
  } steps[] = {
      {true, 2, Result::Done},  {true, 2, Result::Uneven}, {true, 3, Result::Done},
      {true, 4, Result::Done},  {true, 2, Result::Done},   {false, 3, Result::Uneven},
      {false, 2, Result::Done}, {false, 3, Result::Done},  {false, 3, Result::Uneven},
  };
  for (const auto& step : steps) {
    EXPECT_EQ(step.build ? deals.BuyHouse(step.property) : deals.SellHouse(step.property),
              step.outcome)
        << step.property;
  }
  // Four houses bought at 500 and two sold at 250; nothing for a refusal.
  EXPECT_EQ(std::tuple(work(2).houses, work(3).houses, work(4).houses, deals.workMoney()),
            std::tuple(1, 0, 1, kStartMoney - 4 * 500 + 2 * 250));

  // Evenness is told before money: with too little, an uneven house is still 108.
  game.state.workPlayers[0].money = 499;
  EXPECT_EQ(deals.BuyHouse(2), Result::Uneven);
  EXPECT_EQ(deals.BuyHouse(3), Result::NotEnoughMoney);
  EXPECT_EQ(work(3).houses, 0);
  EXPECT_EQ(deals.workMoney(), 499);
}

TEST_F(Deals, UnmortgageCostsHalfThePriceAndATwentieth) {
  g.prop(22).price = 1250;  // 625 + 62, both rounded down
  g.prop(22).owner = 0;
  for (auto [money, done] : {std::pair{687, true}, {686, false}}) {
    SCOPED_TRACE(money);
    g.prop(22).mortgaged = 1;
    game.state.players[0].money = money;
    PlayWindowDeals deals(game);
    EXPECT_EQ(deals.Unmortgage(22), done ? Result::Done : Result::NotEnoughMoney);
    EXPECT_EQ(deals.workMoney(), done ? 0 : money);
    EXPECT_EQ(work(22).mortgaged, done ? 0 : 1);
  }
}

TEST_F(Deals, PagesListWhatEachMayTouch) {
  g.Own(0, {0, 1, 2, 3, 5, 6, 7, 22, 26, 28});
  g.Own(1, {4, 8, 9, 10, 29});
  g.prop(5).houses = 2;  // group 5..7 has houses
  g.prop(1).mortgaged = 1;
  g.prop(22).mortgaged = 1;
  g.prop(9).houses = 1;  // group 8..10
  game.state.askedThisTurn[3] = 1;
  game.state.players[2].isBankrupt = 1;
  PlayWindowDeals deals(game);
  EXPECT_EQ(deals.Partners(), std::vector<int>{1});
  EXPECT_EQ(deals.TradeList(0), (std::vector<int>{0, 1, 2, 22, 26, 28}));
  EXPECT_EQ(deals.TradeList(1), (std::vector<int>{4, 29}));
  EXPECT_EQ(deals.MortgageList(), (std::vector<int>{0, 2, 3, 26}));
  EXPECT_EQ(deals.UnmortgageList(), (std::vector<int>{1, 22}));
  // Group 0..1 has a mortgage, group 2..4 is not all his; 5..7 is complete.
  EXPECT_EQ(deals.BuyHouseList(), (std::vector<int>{5, 6, 7}));
  EXPECT_EQ(deals.SellHouseList(), std::vector<int>{5});
  game.state.workProperties[6].houses = kHotel;
  EXPECT_EQ(deals.BuyHouseList(), (std::vector<int>{5, 7}));
  EXPECT_EQ(deals.SellHouseList(), (std::vector<int>{5, 6}));
}

TEST_F(Deals, OffersAreCheckedThenPutToThePartner) {
  g.Own(0, {2, 22});
  g.Own(1, {4, 23});
  g.prop(23).mortgaged = 1;
  game.state.players[0].money = 1000;
  PlayWindowDeals deals(game);
  EXPECT_EQ(deals.AskBuy(1, -1, false, -1, 0), Result::NothingChosen);
  EXPECT_EQ(deals.AskBuy(1, 4, false, -1, 1001), Result::NotEnoughMoney);
  EXPECT_EQ(deals.AskBuy(1, 4, true, -1, 10), Result::NothingChosen);  // nothing to give
  EXPECT_EQ(deals.AskSell(1, -1, false, -1, 10), Result::NothingChosen);
  EXPECT_EQ(deals.AskSell(1, 2, true, -1, 10), Result::NothingChosen);
  EXPECT_EQ(ui.Count("AskConsent"), 0);

  // A person is asked with the offer text, the mortgaged property marked.
  ui.consents = {false};
  EXPECT_EQ(deals.AskBuy(1, 23, true, 2, 1000), Result::Refused);
  EXPECT_EQ(
      ui.Texts("AskConsent"),
      std::vector<std::string>{"Bo: Anna byter till sig Gata 23(pant) mot Gata 2 och 1000 kr"});
  EXPECT_EQ(ui.consentPlayers, std::vector<int>{1});
  EXPECT_EQ(work(23).owner, 1);
  EXPECT_EQ(deals.TradeList(1), std::vector<int>{4});
}

TEST_F(Deals, ADebtorWhoseLastOfferWasRefusedCannotPay) {
  g.Own(0, {2});
  game.state.players[0].money = -5000;
  PlayWindowDeals deals(game);
  std::vector<PlayPage> locked;
  for (int page = 0; page <= static_cast<int>(PlayPage::SellHouse); ++page) {
    if (deals.PageLocked(PlayPage(page))) locked.push_back(PlayPage(page));
  }
  EXPECT_EQ(locked, (std::vector{PlayPage::Buy, PlayPage::Unmortgage, PlayPage::BuyHouse}));
  EXPECT_EQ(deals.AskSell(1, 2, false, -1, 100), Result::Refused);
  EXPECT_TRUE(deals.CannotPayAfterSale());
  EXPECT_EQ(ui.Texts("ShowMessage"),
            (std::vector<std::string>{"Bo svarar nej", "Anna kan inte betala"}));
}

// What a window's copies come to: the round trips with the bank cost their fees, and copies
// that no window of the player on turn could have made are refused whole.
TEST_F(Deals, CommitOutcomesExplainTheCopiesOrRefuseThem) {
  OwnAnEstateToDealWith();
  PlayWindowDeals deals(game);
  EXPECT_EQ(deals.Unmortgage(17), Result::Done);  // 1350 + 135
  EXPECT_EQ(deals.Mortgage(17), Result::Done);    // 1350 back: 135 lost
  EXPECT_EQ(deals.SellHouse(14), Result::Done);   // 250
  EXPECT_EQ(deals.BuyHouse(14), Result::Done);    // 500 again: 250 lost
  EXPECT_EQ(deals.AskBuy(1, 0, false, -1, 700), Result::Done);
  const GameState& s = game.state;
  const auto outcomes = CommitOutcomes(s, 0, s.workPlayers, s.workProperties);
  ASSERT_TRUE(outcomes.has_value());
  ASSERT_EQ(outcomes->size(), 2u);
  const auto* deal = std::get_if<Deal>(&(*outcomes)[0].what);
  ASSERT_NE(deal, nullptr);
  EXPECT_EQ(std::tuple(deal->partner, deal->money, deal->toActor, deal->toPartner),
            std::tuple(1, 700, PropertyBit(0), 0u));
  const auto* fees = std::get_if<Payment>(&(*outcomes)[1].what);
  ASSERT_NE(fees, nullptr);
  EXPECT_EQ(std::tuple(fees->from, fees->to, fees->amount), std::tuple(0, kBank, 385));

  const auto refused = [&](auto change) {
    PlayerTable players = s.workPlayers;
    PropertyTable properties = s.workProperties;
    change(players, properties);
    return !CommitOutcomes(s, 0, players, properties).has_value();
  };
  // Money is only moved between the players or lost to the bank's fees, never made.
  EXPECT_TRUE(refused([](PlayerTable& players, PropertyTable&) { players[0].money += 1000; }));
  EXPECT_TRUE(refused([](PlayerTable& players, PropertyTable&) { players[2].money += 1000; }));
  EXPECT_TRUE(refused([](PlayerTable&, PropertyTable& table) { table[5].owner = 1; }));
  EXPECT_TRUE(refused([](PlayerTable&, PropertyTable& table) { table[2].price = 1; }));
  EXPECT_TRUE(refused([](PlayerTable& players, PropertyTable&) { players[1].position = 9; }));
  EXPECT_TRUE(refused([](PlayerTable&, PropertyTable& table) { table[9].mortgaged = 2; }));
  EXPECT_FALSE(refused([](PlayerTable& players, PropertyTable&) { players[1].isComputer = 7; }));
}

// The player is told every answer, a person's or a computer player's, as information naming the
// street; a board file without those texts names only the partner, as before.
TEST(DealAnswers, NameTheStreetOrOnAnOlderBoardFileOnlyThePartner) {
  const std::pair<const char*, std::vector<std::string>> cases[] = {
      {"159=%s ja %s\n160=%s nej %s\n", {"SpelareB ja Gata 4", "SpelareC nej Gata 6"}},
      {"", {"SpelareB svarar ", "SpelareC svarar nej"}},
  };
  for (const auto& [answerTexts, answers] : cases) {
    trade_test::DealGame g(3, std::string(answerTexts) + kTexts);
    g.player(1).isComputer = 0;
    g.Own(1, {4});
    g.Own(2, {6});
    g.ui.consents = {true};
    PlayWindowDeals deals(g.game);
    EXPECT_EQ(deals.AskBuy(1, 4, false, -1, 100), Result::Done);
    EXPECT_EQ(deals.AskBuy(2, 6, false, -1, 1), Result::Refused);  // the computer says no
    EXPECT_EQ(g.ui.Texts("ShowMessage"), answers);
    for (const auto& e : g.ui.events) {
      if (e.name == "ShowMessage") {
        EXPECT_EQ(e.value, int(MessageIcon::Information)) << e.text;
      }
    }
  }
}

}  // namespace
}  // namespace tomtura
