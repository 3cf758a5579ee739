// SPDX-License-Identifier: GPL-3.0-or-later
// Landing resolution: offers, rents, taxes, cards, jail, and the end of the turn with its
// debts. The test board's texts (turn_fixture.h) let the tests state whole lines.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "data/text_ids.h"
#include "turn_fixture.h"

namespace tomtura {
namespace {

using turn_test::TestGame;

constexpr int kFirst = 0;  // on square 1; a group of two with kSecond, on square 3
constexpr int kSecond = 1;
constexpr int kEleven = 5;  // on square 11

TEST(PurchaseOffer, YesNoAuctionAndFirstLap) {
  const struct {
    int answer, auctionOn, firstLap, owner;
    bool paid;
    const char* log;  // after the player's name and the property's
  } cases[] = {
      {1, 1, 0, 0, true, "köpte %s för 2 600 kr."},
      {2, 0, 0, kNobody, false, "köpte inte %s."},
      {0, 1, 257, kNobody, false, "slog 1-2 och hamnade på %s"},  // no offer at all
  };
  for (const auto& c : cases) {
    TestGame t(2);
    t.state.settings.auctionOn = c.auctionOn;
    t.state.firstLap[0] = static_cast<std::uint16_t>(c.firstLap);
    t.ui.answers = {c.answer};
    t.LandOn(11, 1, 2);
    const std::string name = t.game.PropertyName(kEleven);
    EXPECT_EQ(t.ui.asked.size(), c.answer == 0 ? 0u : 1u);
    // The computer's answer judges the property offered.
    if (c.answer != 0) {
      EXPECT_EQ(t.state.offeredProperty, kEleven);
    }
    EXPECT_EQ(t.state.properties[kEleven].owner, c.owner);
    EXPECT_EQ(t.state.players[0].money, c.paid ? 30000 - 2600 : 30000);
    EXPECT_EQ(t.ui.stats().auctions, c.answer == 2 && c.auctionOn ? 1 : 0);
    EXPECT_EQ(t.LastLog(), "0Anna " + FormatText(c.log, name));
  }
}

// While the first-lap rule withholds an offer the status line says why, before what it says
// anyway, for that turn only; a board file without that text says only the latter. Under the
// next player's password, and the jail's question after it, the status line says only what is
// asked.
TEST(PurchaseOffer, TheFirstLapRuleSaysWhyNothingIsOffered) {
  const std::string why = "Första varvet: Anna får köpa först efter att ha passerat Gå. ";
  const std::tuple<bool, int, std::string> cases[] = {{true, 2, why + "Slå tärningarna!"},
                                                      {true, 1, why + "Dubbel! Slå en gång till."},
                                                      {false, 2, "Slå tärningarna!"}};
  const std::vector<std::string> asked = {"Bertil, skriv ditt lösenord:", ""};
  for (const auto& [hasText, die2, status] : cases) {
    TestGame t(2);
    if (!hasText) {
      std::string text = t.game.texts.file().Serialize();
      const std::size_t line = text.find("\n158=");
      text.erase(line + 1, text.find('\n', line + 1) - line);
      t.game.texts = TextCatalogue(IniFile::Parse(text));
    }
    t.state.players[0].password.setUtf8("abc");  // not asked again after a double
    t.state.players[1].password.setUtf8("xyz");
    t.state.players[1].jailTurns = 3;
    t.ui.answers = {2};  // no bail
    t.state.firstLap[0] = 257;
    t.LandOn(11, 1, die2);
    EXPECT_EQ(t.state.statusText, status);
    EXPECT_EQ(t.ui.statusWhenAsked, die2 == 2 ? asked : std::vector<std::string>());
    t.LandOn(20, 1, 2);
    EXPECT_EQ(t.state.statusText, "Slå tärningarna!");
  }
}

// The status line tells the moment on screen: the throw while it is settled (a card, the third
// double's way to jail).
TEST(StatusLine, TellsTheThrowWhileItIsSettled) {
  struct FixedDice : DiceSource {
    Dice faces;
    Dice Faces() override { return faces; }
  };
  const struct {
    int square, die1, die2, doublesInRow;
    std::string during;  // the status line under the question shown
  } cases[] = {
      {7, 1, 2, 0, "Anna slog 1 och 2."},  // a chance card
      {7, 3, 3, 2, "Anna slog 3 och 3."},  // the third double: to jail
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.square);
    TestGame t(2);
    FixedDice dice;
    dice.faces = {c.die1, c.die2};
    t.game.SetDiceSource(&dice);
    t.state.current().position = static_cast<std::int16_t>(c.square - c.die1 - c.die2);
    t.state.doublesInRow = c.doublesInRow;
    t.state.statusText = t.game.Text(78);  // "throw again" from the turn before
    t.ui.answers = {2};
    t.game.Roll();
    while (t.state.turnPhase != TurnPhase::AwaitRoll && t.ui.Tick()) {
    }
    EXPECT_EQ(t.ui.statusWhenAsked, std::vector{c.during});
  }
}

TEST(Rent, ByHousesGroupMortgageAndHowManyTheOwnerHas) {
  const struct {
    std::vector<int> owned, mortgaged;  // by Bertil
    int houses;                         // on the street of square 1
    int square, die1, die2, rent;
  } cases[] = {
      {{kFirst}, {}, 0, 1, 1, 2, 60},
      {{kFirst, kSecond}, {}, 0, 1, 1, 2, 120},         // the whole group: double
      {{kFirst, kSecond}, {kSecond}, 0, 1, 1, 2, 120},  // a mortgaged member still doubles it
      {{kFirst, kSecond}, {kFirst}, 0, 1, 1, 2, 0},     // none on a mortgaged street
      {{kFirst, kSecond}, {}, 2, 1, 1, 2, 950},
      {{kFirst, kSecond}, {}, 5, 1, 1, 2, 4500},
      {{22}, {}, 0, 5, 1, 3, 500},  // stations: 500, doubled for each further one
      {{22, 23}, {}, 0, 15, 1, 3, 1000},
      {{22, 23, 24}, {}, 0, 25, 1, 3, 2000},
      {{22, 23, 24, 25}, {}, 0, 35, 1, 3, 4000},
      {{26}, {}, 0, 12, 3, 4, 700},  // utilities: 100 a pip, 200 with both
      {{26, 27}, {}, 0, 27, 3, 4, 1400},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.rent);
    TestGame t(2);
    for (int p : c.owned) t.Give(p, 1);
    for (int p : c.mortgaged) t.state.properties[p].mortgaged = 1;
    t.state.properties[kFirst].houses = static_cast<std::int16_t>(c.houses);
    t.LandOn(c.square, c.die1, c.die2);
    EXPECT_EQ(std::pair(t.state.players[0].money, t.state.players[1].money),
              std::pair(30000 - c.rent, 30000 + c.rent));
    EXPECT_EQ(t.ui.asked.size(), c.rent == 0 ? 0u : 1u);  // the notice
    // A street's rent is logged from behind the notice's empty line, line feeds as blanks; a
    // station's or utility's is not.
    EXPECT_EQ(t.state.log.size(), c.square == 1 && c.rent > 0 ? 3u : 2u);
    if (c.rent == 60) {
      EXPECT_EQ(t.LastLog(), "0Anna betalar hyra. " + t.game.PropertyName(kFirst) +
                                 " ägs av Bertil. Hyran är 60 kr.");
    }
  }
}

// The quick walk's pace without fast moves is DiceTick.LastFrameDecidesTheWalk's (tests/rules).
TEST(GoToJail, WalksQuicklyWithoutSalaryToJailAndPassesTheTurnAfterADouble) {
  TestGame t(2);
  t.state.settings.fastMoves = 1;
  EXPECT_EQ(t.LandOn(30, 4, 4), 0);
  EXPECT_EQ(t.state.turnPhase, TurnPhase::ToJail);
  EXPECT_EQ(t.state.stepsToMove, 20);
  EXPECT_EQ(t.ui.walkIntervalMs(), 50);
  t.ui.Pump();
  const Player& p = t.state.players[0];
  EXPECT_EQ(std::make_tuple(p.position, p.money, p.jailTurns), std::make_tuple(10, 30000, 4));
  EXPECT_EQ(t.state.currentPlayer, 1);  // the double gives no further throw
  EXPECT_EQ(t.ui.asked.back().text, t.game.Text(kTextJailed));
}

TEST(JailCards, ChanceCardBackOnArrivalCommunityCardAtTheStartOfATurnInJail) {
  TestGame t(2);
  for (int p : {kFirst, kChanceJailCard, kCommunityJailCard}) t.Give(p, 0);
  t.LandOn(10, 1, 2, TurnPhase::ToJail);
  EXPECT_EQ(t.state.properties[kChanceJailCard].owner, kNobody);
  EXPECT_EQ(t.state.properties[kCommunityJailCard].owner, 0);
  EXPECT_EQ(t.state.players[0].jailTurns, 0);
  EXPECT_EQ(t.ui.asked.back().text, t.game.Text(kTextJailCardUsed));
  EXPECT_EQ(t.LastLog(), "0Anna slipper ut ur fängelset med sitt kort");
  t.state.currentPlayer = 0;
  t.state.players[0].jailTurns = 3;  // jailed later, without asking the last item goes back
  t.game.JailTurnStart();
  EXPECT_EQ(t.state.properties[kCommunityJailCard].owner, kNobody);
  EXPECT_EQ(t.state.propertyLists[0].items, std::vector<int>{kFirst});
  EXPECT_EQ(t.state.players[0].jailTurns, 0);
  EXPECT_EQ(t.state.players[0].money, 30000);
}

// Puts `top` on top of a deck.
void StackDeck(Deck& deck, std::initializer_list<int> top) {
  std::copy(top.begin(), top.end(), deck.cards.begin());
  deck.next = 0;
}

TEST(Cards, TaxesAndCardsThatOnlyMoveMoney) {
  const struct {
    int square, card, money0, money1;  // chance on 22, community chest on 17
    const char* log = nullptr;
  } cases[] = {
      {4, 0, 26000, 30000},                    // taxes, without a message
      {22, 7, 29850, 30000},                   // pays N, to nobody
      {17, 9, 32000, 30000},                   // receives N
      {17, 3, 30200, 29800},                   // 200 from each other player still in the game
      {22, 2, 30000 - 3 * 800 - 2300, 30000},  // repairs of his own streets
      {22, 3, 30000 - 3 * 500 - 2000, 30000,   // the smaller repairs
       "0Anna har 3 hus och 1 hotell och får betala 3 500 kr."},
      {38, 0, 28000, 30000, "0Anna slog 1-2 och hamnade på Skatteruta"},  // the smaller tax
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.square << " " << c.card);
    TestGame t(3);
    t.state.players[2].isBankrupt = 1;
    for (int p : {kFirst, kSecond}) t.Give(p, 0);
    t.Give(kEleven, 1);
    t.state.properties[kFirst].houses = 3;
    t.state.properties[kSecond].houses = 5;
    t.state.properties[kEleven].houses = 4;
    StackDeck(c.square == 22 ? t.state.chanceDeck : t.state.communityDeck, {c.card});
    t.LandOn(c.square, 1, 2);
    const PlayerTable& players = t.state.players;
    EXPECT_EQ(std::tuple(players[0].money, players[1].money, players[2].money),
              std::tuple(c.money0, c.money1, 30000));
    EXPECT_EQ(t.ui.asked.empty(), c.card == 0);
    if (c.log != nullptr) {
      EXPECT_EQ(t.LastLog(), c.log);
    }
  }
}

TEST(Texts, CardAndStatusLineAreCutOnCharacterBoundaries) {
  // Heading, two line feeds and "xy" take 9 of the card's 248 bytes: 119 two-byte 'Å's fit.
  std::string letters;
  for (int i = 0; i < 130; ++i) letters += "Å";
  TestGame t(2);
  t.game.texts = TextCatalogue(IniFile::Parse("[TEXTS]\n53=Chans\n39=xy" + letters +
                                              "\n[CHANS]\n4=xy" + letters + "|slut@700\n"));
  StackDeck(t.state.chanceDeck, {4});
  t.LandOn(7, 1, 2);
  const std::string& shown = t.ui.asked.at(0).text;
  EXPECT_EQ(shown.size(), 247u);
  EXPECT_EQ(shown.substr(shown.size() - 2), "Å");
  EXPECT_EQ(t.state.players[0].money, 30700);  // the number behind the cut still counts
  EXPECT_EQ(t.state.statusText.size(), 126u);  // 127 would split an 'Å'
}

TEST(Debt, NothingLeftToSellMeansBankruptcyAndTheTurnPassesInTheSameCall) {
  // The debt of the player whose turn begins is settled: after a plain throw the next player's,
  // after a double the thrower's own, whose double then gives nobody another throw.
  for (int die2 : {2, 1}) {
    const int debtor = die2 == 2 ? 1 : 0;
    TestGame t(3);
    t.state.players[debtor].money = -500;
    t.state.players[debtor + 1].jailTurns = 1;  // the start of his turn runs: he pays bail
    EXPECT_EQ(t.LandOn(20, 1, die2), 1);
    const Player& next = t.state.players[debtor + 1];
    EXPECT_EQ(std::tuple(int{t.state.players[debtor].isBankrupt}, t.state.currentPlayer,
                         t.state.doublesInRow, int{next.jailTurns}, next.money),
              std::tuple(1, debtor + 1, 0, 0, 29000));
    EXPECT_EQ(t.state.statusText, t.game.Text(kTextYourTurn));
    EXPECT_EQ(t.ui.rollFocus, 1);
    EXPECT_EQ(t.ui.messages, 1);  // text 41: a person is still in the game
  }
}

TEST(Debt, SomethingLeftToSellAsksFirstThenTheLastButOneBankruptcyEndsTheGame) {
  TestGame t(2);
  t.Give(kFirst, 1);
  t.state.players[1].money = -5000;
  EXPECT_EQ(t.LandOn(20, 1, 2), 1);
  EXPECT_EQ(t.ui.asked.back().text, t.game.Text(kTextDebtQuestion));
  EXPECT_EQ(t.state.players[1].isBankrupt, 1);
  EXPECT_EQ(t.state.turnPhase, TurnPhase::GameOver);
  EXPECT_FALSE(t.ui.dicePending());
}

}  // namespace
}  // namespace tomtura
