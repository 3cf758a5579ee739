// Landing resolution: offers, rents, taxes, cards, jail, and the end of the turn with its
// debts. The test board's texts (turn_fixture.h) let the tests state whole lines.
#include <gtest/gtest.h>

#include <string>

#include "turn_fixture.h"

namespace tomtura {
namespace {

using turn_test::TestGame;

constexpr int kEkgatan = 0;    // square 1, group 0 with Almgatan (1)
constexpr int kAlmgatan = 1;   // square 3
constexpr int kLindallen = 5;  // square 11, group 2 with 6 and 7
constexpr int kUtsikt = 21;    // square 39

TEST(PurchaseOffer, YesNoAndAuction) {
  struct Case {
    int answer;
    int auctionOn;
    int owner;
    int money;
    const char* log;
  };
  const Case cases[] = {
      {1, 1, 0, 28800, "0Anna köpte Ekgatan för 1200 kr."},
      {2, 0, kNobody, 30000, "0Anna köpte inte Ekgatan."},
      {2, 1, 1, 30000, "0Anna slog 1-2 och hamnade på Ekgatan"},  // the auction's winner
  };
  for (const Case& c : cases) {
    TestGame t(2);
    t.state.settings.auctionOn = c.auctionOn;
    t.ui.answers = {c.answer};
    t.ui.auctionWinner = 1;
    t.LandOn(1, 1, 2);
    EXPECT_EQ(t.ui.asked.at(0).text, "Anna, köpa Ekgatan för 1200 kr?");
    EXPECT_TRUE(t.ui.asked.at(0).twoButtons);
    EXPECT_EQ(t.state.offeredProperty, kEkgatan);
    EXPECT_EQ(t.state.properties[kEkgatan].owner, c.owner);
    EXPECT_EQ(t.state.players[0].money, c.money);
    EXPECT_EQ(t.ui.auctionsRun, c.answer == 2 && c.auctionOn ? 1 : 0);
    EXPECT_EQ(t.LastLog(), c.log);
    if (c.owner >= 0) {
      EXPECT_EQ(t.state.propertyLists[c.owner].items, std::vector<int>{kEkgatan});
    }
  }
}

TEST(PurchaseOffer, NoneOnTheFirstLap) {
  TestGame t(2);
  t.state.firstLap[0] = 257;
  t.LandOn(1, 1, 2);
  EXPECT_TRUE(t.ui.asked.empty());
  EXPECT_EQ(t.ui.auctionsRun, 0);
  EXPECT_EQ(t.state.properties[kEkgatan].owner, kNobody);
  EXPECT_EQ(t.LastLog(), "0Anna slog 1-2 och hamnade på Ekgatan");
}

TEST(PurchaseOffer, BoughtPropertyTakesItsPlaceInTheSortedList) {
  TestGame t(2);
  t.Give(kEkgatan, 0);
  t.Give(kUtsikt, 0);
  t.ui.answers = {1};
  t.LandOn(11, 1, 2);
  EXPECT_EQ(t.state.propertyLists[0].items, (std::vector<int>{kEkgatan, kLindallen, kUtsikt}));
  EXPECT_EQ(t.state.propertyLists[0].selected, 1);
}

TEST(Rent, StreetsByHousesGroupAndMortgage) {
  struct Case {
    int houses;
    bool wholeGroup;
    bool otherMortgaged;
    bool landedMortgaged;
    int rent;
    const char* message;
  };
  const Case cases[] = {
      {0, false, false, false, 40, "Hyra\n\nEkgatan ägs av Bertil. Hyran är 40 kr."},
      {0, true, false, false, 80, "Hyra\n\nEkgatan: Bertil äger hela gruppen. Hyran är 80 kr."},
      {0, true, true, false, 80, "Hyra\n\nEkgatan: Bertil äger hela gruppen. Hyran är 80 kr."},
      {0, true, false, true, 0, nullptr},
      {2, true, false, false, 600, "Hyra\n\nEkgatan ägs av Bertil med 2 hus.\nHyran är 600 kr."},
      {5, true, false, false, 5000,
       "Hyra\n\nEkgatan ägs av Bertil med 1 hotell.\nHyran är 5000 kr."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rent);
    TestGame t(2);
    t.Give(kEkgatan, 1);
    if (c.wholeGroup) t.Give(kAlmgatan, 1);
    t.state.properties[kEkgatan].houses = static_cast<std::int16_t>(c.houses);
    t.state.properties[kAlmgatan].mortgaged = c.otherMortgaged ? 1 : 0;
    t.state.properties[kEkgatan].mortgaged = c.landedMortgaged ? 1 : 0;
    t.LandOn(1, 1, 2);
    EXPECT_EQ(t.state.players[0].money, 30000 - c.rent);
    EXPECT_EQ(t.state.players[1].money, 30000 + c.rent);
    if (c.message == nullptr) {
      EXPECT_TRUE(t.ui.asked.empty());
      continue;
    }
    ASSERT_EQ(t.ui.asked.size(), 1u);
    EXPECT_EQ(t.ui.asked[0].text, c.message);
    EXPECT_FALSE(t.ui.asked[0].twoButtons);
    std::string tail = std::string(c.message).substr(6);
    for (char& ch : tail) ch = ch == '\n' ? ' ' : ch;
    EXPECT_EQ(t.LastLog(), "0Anna betalar hyra. " + tail);
  }
}

TEST(Rent, StationsAndUtilitiesByHowManyTheOwnerHas) {
  struct Case {
    std::vector<int> owned;  // properties of player 1
    int square;
    int die1, die2;
    int rent;
    const char* message;
  };
  const Case cases[] = {
      {{22}, 5, 1, 3, 500, "Station\n\nNorra stationen: Bertil har 1 station. Hyran är 500 kr."},
      {{22, 23},
       5,
       1,
       3,
       1000,
       "Station\n\nNorra stationen: Bertil har 2 stationer. Hyran är 1000 kr."},
      {{22, 23, 24},
       15,
       1,
       3,
       2000,
       "Station\n\nÖstra stationen: Bertil har 3 stationer. Hyran är 2000 kr."},
      {{22, 23, 24, 25},
       35,
       1,
       3,
       4000,
       "Station\n\nVästra stationen: Bertil har 4 stationer. Hyran är 4000 kr."},
      {{26}, 12, 3, 4, 700, "Verk\n\nElverket: Bertil har 1 verket. Hyran är 700 kr."},
      {{26, 27}, 27, 3, 4, 1400, "Verk\n\nVattenverket: Bertil har 2 verk. Hyran är 1400 kr."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rent);
    TestGame t(2);
    for (int p : c.owned) t.Give(p, 1);
    std::size_t logSize = t.state.log.size();
    t.LandOn(c.square, c.die1, c.die2);
    EXPECT_EQ(t.state.players[0].money, 30000 - c.rent);
    EXPECT_EQ(t.state.players[1].money, 30000 + c.rent);
    ASSERT_EQ(t.ui.asked.size(), 1u);
    EXPECT_EQ(t.ui.asked[0].text, c.message);
    EXPECT_EQ(t.state.log.size(), logSize + 1);  // only the landing line
    EXPECT_EQ(t.ui.soundsPlayed[5], 1);
  }
}

TEST(Tax, FourThousandOnSquareFourTwoThousandOnThirtyEightWithoutAMessage) {
  for (auto [square, tax] : {std::pair{4, 4000}, std::pair{38, 2000}}) {
    TestGame t(2);
    t.LandOn(square, 1, 2);
    EXPECT_EQ(t.state.players[0].money, 30000 - tax);
    EXPECT_TRUE(t.ui.asked.empty());
    EXPECT_EQ(t.ui.soundsPlayed[8], 1);
    EXPECT_EQ(t.LastLog(), "0Anna slog 1-2 och hamnade på Skatteruta");
  }
}

TEST(GoToJail, WalksTwentySquaresWithoutSalaryAndPassesTheTurnAfterADouble) {
  TestGame t(2);
  EXPECT_EQ(t.LandOn(30, 4, 4), 0);
  EXPECT_EQ(t.state.turnPhase, TurnPhase::ToJail);
  EXPECT_EQ(t.state.stepsToMove, 20);
  EXPECT_TRUE(t.ui.walkPending());
  EXPECT_EQ(t.ui.walkIntervalMs(), 200);
  EXPECT_EQ(t.LastLog(), "0Anna slog 4-4 och hamnade i Fängelset");
  t.ui.Pump();
  EXPECT_EQ(t.state.players[0].position, 10);
  EXPECT_EQ(t.state.players[0].jailTurns, 4);
  EXPECT_EQ(t.state.players[0].money, 30000);
  EXPECT_EQ(t.state.currentPlayer, 1);  // the double gives no further throw
  EXPECT_EQ(t.state.doublesInRow, 0);
  EXPECT_EQ(t.ui.asked.back().text, "Du hamnar i fängelse");
}

TEST(GoToJail, AHeldCardIsUsedOnArrival) {
  TestGame t(2);
  t.Give(kChanceJailCard, 0);
  t.LandOn(30, 1, 2);
  t.ui.Pump();
  EXPECT_EQ(t.state.players[0].jailTurns, 0);
  EXPECT_EQ(t.state.properties[kChanceJailCard].owner, kNobody);
  EXPECT_TRUE(t.state.propertyLists[0].items.empty());
  EXPECT_EQ(t.ui.asked.back().text, "Du använder ditt frikort");
  EXPECT_EQ(t.LastLog(), "0Anna slipper ut ur fängelset med sitt kort");
}

TEST(JailCards, ChanceCardGoesBackOnArrivalCommunityCardAtTheStartOfATurnInJail) {
  TestGame t(2);
  t.Give(kEkgatan, 0);
  t.Give(kChanceJailCard, 0);
  t.Give(kCommunityJailCard, 0);
  t.state.turnPhase = TurnPhase::ToJail;
  t.state.current().position = 10;
  t.state.die1 = 1;
  t.state.die2 = 2;
  t.game.ResolveLanding(false);
  EXPECT_EQ(t.state.properties[kChanceJailCard].owner, kNobody);
  EXPECT_EQ(t.state.properties[kCommunityJailCard].owner, 0);
  EXPECT_EQ(t.state.players[0].jailTurns, 0);

  // Jailed without a card of his own the next time round: the last item is the other card.
  t.state.currentPlayer = 0;
  t.state.players[0].jailTurns = 3;
  t.game.JailTurnStart();
  EXPECT_EQ(t.state.properties[kCommunityJailCard].owner, kNobody);
  EXPECT_EQ(t.state.propertyLists[0].items, std::vector<int>{kEkgatan});
  EXPECT_EQ(t.state.players[0].jailTurns, 0);
  EXPECT_EQ(t.state.players[0].money, 30000);
}

TEST(JailTurnStart, BailByAnswerAndForcedOnTheLastTurn) {
  struct Case {
    int jailTurns;
    int answer;  // 0: no question expected
    int jailTurnsAfter;
    int money;
    const char* text;
  };
  const Case cases[] = {
      {4, 1, 0, 29000, "Anna sitter inne. Betala borgen?"},
      {4, 2, 3, 30000, "Anna sitter inne. Betala borgen?"},
      {2, 2, 1, 30000, "Anna sitter inne. Betala borgen?"},
      {1, 0, 0, 29000, "Sista turen inne: du betalar 1000 kr"},
  };
  for (const Case& c : cases) {
    TestGame t(2);
    t.state.players[0].jailTurns = static_cast<std::int16_t>(c.jailTurns);
    if (c.answer != 0) t.ui.answers = {c.answer};
    t.game.JailTurnStart();
    EXPECT_EQ(t.state.players[0].jailTurns, c.jailTurnsAfter);
    EXPECT_EQ(t.state.players[0].money, c.money);
    ASSERT_EQ(t.ui.asked.size(), 1u);
    EXPECT_EQ(t.ui.asked[0].text, c.text);
    EXPECT_EQ(t.ui.asked[0].twoButtons, c.answer != 0);
  }
}

// Sets the next card of a deck.
void StackDeck(Deck& deck, std::initializer_list<int> top) {
  int i = 0;
  for (int card : top) deck.cards[i++] = card;
  deck.next = 0;
}

TEST(Cards, TheJailCardIsSkippedWhileSomebodyHoldsIt) {
  TestGame t(2);
  t.Give(kChanceJailCard, 1);
  StackDeck(t.state.chanceDeck, {1, 4, 5});
  t.LandOn(7, 1, 2);
  EXPECT_EQ(t.state.players[0].money, 30500);  // card 4: receives 500
  EXPECT_EQ(t.state.chanceDeck.next, 2);
  EXPECT_EQ(t.state.properties[kChanceJailCard].owner, 1);
  EXPECT_EQ(t.LastLog(), "0Chans:\nUtdelning");
  EXPECT_EQ(t.LastLog(1), "0Anna slog 1-2 och hamnade på Chans");
}

TEST(Cards, DrawnJailCardsStandAtTheListsEndInOrder) {
  TestGame t(2);
  t.Give(kUtsikt, 0);
  StackDeck(t.state.communityDeck, {1});
  t.LandOn(2, 1, 2);
  EXPECT_EQ(t.state.properties[kCommunityJailCard].owner, 0);
  EXPECT_EQ(t.state.propertyLists[0].items, (std::vector<int>{kUtsikt, kCommunityJailCard}));
  EXPECT_EQ(t.state.communityDeck.next, 1);

  // The chance card drawn later goes in front of the community card, and is the one given
  // back on arrival in jail.
  t.state.currentPlayer = 0;
  StackDeck(t.state.chanceDeck, {1});
  t.LandOn(7, 1, 2);
  EXPECT_EQ(t.state.propertyLists[0].items,
            (std::vector<int>{kUtsikt, kChanceJailCard, kCommunityJailCard}));
  EXPECT_EQ(t.state.propertyLists[0].selected, 1);
  t.state.currentPlayer = 0;
  t.LandOn(10, 1, 2, TurnPhase::ToJail);
  EXPECT_EQ(t.state.properties[kChanceJailCard].owner, kNobody);
  EXPECT_EQ(t.state.properties[kCommunityJailCard].owner, 0);
}

TEST(Cards, MoneyEffects) {
  struct Case {
    bool chance;
    int card;
    int money0, money1, money2;
  };
  const Case cases[] = {
      {true, 5, 31000, 30000, 30000},    // receives N
      {true, 7, 29850, 30000, 30000},    // pays N, to nobody
      {false, 9, 32000, 30000, 30000},   // receives N
      {false, 12, 29000, 30000, 30000},  // pays N
      {false, 3, 30200, 29800, 30000},   // 200 from each other player still in the game
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.card);
    TestGame t(3);
    t.state.players[2].isBankrupt = 1;
    StackDeck(c.chance ? t.state.chanceDeck : t.state.communityDeck, {c.card});
    t.LandOn(c.chance ? 22 : 17, 1, 2);
    EXPECT_EQ(t.state.players[0].money, c.money0);
    EXPECT_EQ(t.state.players[1].money, c.money1);
    EXPECT_EQ(t.state.players[2].money, c.money2);
  }
}

TEST(Cards, RepairsCountHousesAndHotelsOfOwnStreets) {
  for (auto [card, cost] : {std::pair{2, 3 * 800 + 2300}, std::pair{3, 3 * 500 + 2000}}) {
    TestGame t(2);
    t.Give(kEkgatan, 0);
    t.Give(kAlmgatan, 0);
    t.Give(kLindallen, 1);
    t.state.properties[kEkgatan].houses = 3;
    t.state.properties[kAlmgatan].houses = 5;
    t.state.properties[kLindallen].houses = 4;  // somebody else's
    StackDeck(t.state.chanceDeck, {card});
    t.LandOn(7, 1, 2);
    EXPECT_EQ(t.state.players[0].money, 30000 - cost);
    EXPECT_EQ(t.LastLog(),
              "0Anna har 3 hus och 1 hotell och får betala " + std::to_string(cost) + " kr.");
  }
}

TEST(Cards, MovesStartAQuickWalkAndLandAgain) {
  struct Case {
    bool chance;
    int card;
    int from;
    int steps;
    TurnPhase phase;
    int endSquare;
    int money;  // after the walk
  };
  const Case cases[] = {
      {true, 12, 7, 17, TurnPhase::Moving, 24, 30000},
      {true, 13, 22, 29, TurnPhase::Moving, 11, 34000},  // across GO: salary
      {true, 16, 22, -3, TurnPhase::Moving, 19, 30000},
      {false, 15, 33, -32, TurnPhase::Moving, 1, 30000},  // back to square 1, no salary
      {true, 10, 36, 14, TurnPhase::ToJail, 10, 30000},   // to jail across GO: no salary
      {false, 16, 2, 8, TurnPhase::ToJail, 10, 30000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.chance << " " << c.card);
    TestGame t(2);
    t.state.settings.fastMoves = 1;
    t.state.firstLap[0] = 257;  // no offers where he lands
    t.Give(kLindallen, 0);      // nor after passing GO
    StackDeck(c.chance ? t.state.chanceDeck : t.state.communityDeck, {c.card, 4});
    EXPECT_EQ(t.LandOn(c.from, 1, 2), 0);
    EXPECT_EQ(t.state.stepsToMove, c.steps);
    EXPECT_EQ(t.state.turnPhase, c.phase);
    EXPECT_EQ(t.ui.walkIntervalMs(), 50);
    EXPECT_EQ(t.state.currentPlayer, 0);
    EXPECT_EQ((c.chance ? t.state.chanceDeck : t.state.communityDeck).next, 1);
    t.ui.Pump();
    EXPECT_EQ(t.state.players[0].position, c.endSquare);
    EXPECT_EQ(t.state.players[0].money, c.money);
    EXPECT_EQ(t.state.players[0].jailTurns, c.phase == TurnPhase::ToJail ? 4 : 0);
    EXPECT_EQ(t.state.currentPlayer, 1);
  }
}

TEST(Cards, CommunityChoiceEitherPaysOrDrawsChance) {
  for (int answer : {1, 2}) {
    TestGame t(2);
    StackDeck(t.state.communityDeck, {2});
    StackDeck(t.state.chanceDeck, {5});
    t.ui.answers = {answer};
    t.LandOn(17, 1, 2);
    EXPECT_TRUE(t.ui.asked.at(0).twoButtons);
    EXPECT_EQ(t.state.communityDeck.next, 1);
    EXPECT_EQ(t.state.chanceDeck.next, answer == 1 ? 0 : 1);
    EXPECT_EQ(t.state.players[0].money, answer == 1 ? 29800 : 31000);
  }
}

TEST(Cards, TextIsCutAt248BytesOnACharacterBoundaryButKeepsItsNumber) {
  TestGame t(2);
  // Heading, two line feeds and "xy" take 9 bytes; of the two-byte 'Å's only 119 fit whole.
  std::string words = "xy";
  for (int i = 0; i < 130; ++i) words += "Å";
  t.game.texts =
      TextCatalogue(IniFile::Parse("[TEXTS]\n53=Chans\n[CHANS]\n4=" + words + "|slut@700\n"));
  StackDeck(t.state.chanceDeck, {4});
  t.LandOn(7, 1, 2);
  const std::string& shown = t.ui.asked.at(0).text;
  EXPECT_EQ(shown.size(), 247u);
  EXPECT_EQ(shown.substr(0, 9), "Chans\n\nxy");
  EXPECT_EQ(shown.substr(shown.size() - 2), "Å");
  EXPECT_EQ(t.state.players[0].money, 30700);  // the number behind the cut still counts
}

TEST(Debt, NothingLeftToSellMeansBankruptcyAndTheTurnPassesInTheSameCall) {
  TestGame t(3);
  t.state.players[1].money = -500;  // the next player's debt is settled as his turn begins
  t.state.players[2].jailTurns = 1;  // the turn's start runs again, for the player after him
  EXPECT_EQ(t.LandOn(20, 1, 2), 1);
  EXPECT_EQ(t.state.players[1].isBankrupt, 1);
  EXPECT_EQ(t.state.currentPlayer, 2);
  EXPECT_EQ(t.state.players[2].jailTurns, 0);
  EXPECT_EQ(t.state.players[2].money, 29000);
  EXPECT_EQ(t.ui.rollFocus, 1);
  EXPECT_EQ(t.state.turnPhase, TurnPhase::AwaitRoll);
  EXPECT_EQ(t.state.statusText, "Din tur");
  EXPECT_EQ(t.ui.messages, 1);  // text 41: a person is still in the game
  EXPECT_EQ(t.LastLog(), "1Bertil är bankrutt och åker ut");
}

TEST(Debt, SomethingLeftToSellAsksFirstThenTheLastButOneBankruptcyEndsTheGame) {
  TestGame t(2);
  t.Give(kEkgatan, 1);
  t.state.players[1].money = -5000;
  EXPECT_EQ(t.LandOn(20, 1, 2), 1);
  ASSERT_FALSE(t.ui.asked.empty());
  EXPECT_EQ(t.ui.asked.back().text, "Du har skulder. Öppna spelfönstret?");
  EXPECT_EQ(t.state.players[1].isBankrupt, 1);
  EXPECT_EQ(t.state.properties[kEkgatan].owner, kNobody);
  EXPECT_EQ(t.state.turnPhase, TurnPhase::GameOver);
  EXPECT_FALSE(t.ui.dicePending());
}

TEST(StatusLine, CutTo127BytesOnACharacterBoundary) {
  TestGame t(2);
  std::string longText;
  for (int i = 0; i < 100; ++i) longText += "ö";
  t.game.texts = TextCatalogue(IniFile::Parse("[TEXTS]\n39=xy" + longText + "\n"));
  t.LandOn(20, 1, 2);
  EXPECT_EQ(t.state.statusText.size(), 126u);  // 127 would split an 'ö'
  EXPECT_EQ(t.state.statusText.substr(0, 4), "xyö");
}

}  // namespace
}  // namespace tomtura
