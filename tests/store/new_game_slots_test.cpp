#include "store/new_game_slots.h"

#include <gtest/gtest.h>

#include <tuple>

#include "store/roster.h"
#include "test_support.h"

namespace tomtura {
namespace {

// A dialog opened on an empty game with no stored roster. After each command every token is
// offered in the list or held by a player who is not shown, never both and never twice; the
// shown player's token stands on top.
struct NewGameSlotsTest : ::testing::Test {
  GameState state;
  NewGameSlots slots{state};
  NewGameSlotsTest() { slots.Open(IniFile()); }

  void Add(const std::string& name, int tokenIndex = 0, bool computer = false,
           Strength strength = Strength::Normal) {
    slots.SelectToken(tokenIndex);
    slots.Add(name, "xyz", computer, strength);
    ExpectTokensAccountedFor();
  }
  void Do(void (NewGameSlots::*command)()) {
    (slots.*command)();
    ExpectTokensAccountedFor();
  }
  void ExpectTokensAccountedFor() {
    int seen[kTokenCount] = {};
    for (int token : slots.tokens()) ++seen[token];
    for (int i = 0; i < state.playerCount; ++i) {
      if (i != slots.editSlot()) ++seen[state.players[i].token];
    }
    for (int token = 0; token < kTokenCount; ++token) EXPECT_EQ(seen[token], 1) << token;
    if (slots.shownIsPlayer()) {
      ASSERT_FALSE(slots.tokens().empty());
      EXPECT_EQ(slots.tokens().front(), slots.shown().token);
    }
  }
};

TEST_F(NewGameSlotsTest, SixPlayersFillEverySlotAndTheLastStaysShown) {
  for (int i = 0; i < kMaxPlayers; ++i) {
    EXPECT_EQ(std::tuple(slots.editSlot(), slots.startEnabled(), slots.previousEnabled()),
              std::tuple(i, i >= 2, i > 0));
    Add("Spelare" + std::to_string(i), 1);  // the second free token
  }
  // Each took the second token of what was left: 1, 2, 3, 4, 5, 6.
  for (int i = 0; i < kMaxPlayers; ++i) EXPECT_EQ(state.players[i].token, i + 1);
  EXPECT_EQ(slots.tokens(), (std::vector<int>{6, 0, 7, 8, 9}));
  // The last slot stays shown: adding again changes him, without a seventh player.
  EXPECT_FALSE(slots.nextEnabled());
  Add("Sista");
  EXPECT_EQ(std::tuple(state.playerCount, slots.editSlot(), state.players[5].name.utf8()),
            std::tuple(6, 5, "Sista"));
}

TEST_F(NewGameSlotsTest, AddRemoveAndWalkNeverLoseOrDoubleAToken) {
  Add("");  // an empty name only refreshes
  EXPECT_EQ(std::tuple(state.playerCount, slots.editSlot()), std::tuple(0, 0));
  Add("Anna", 0, false, Strength::Hard);
  EXPECT_EQ(state.players[0].strength, Strength::Normal);  // a person plays as himself
  Add("Bo", 4, true, Strength::Hard);
  EXPECT_TRUE(state.players[1].password.empty());  // a computer player has none
  EXPECT_EQ(state.players[1].strength, Strength::Hard);
  Do(&NewGameSlots::Previous);
  slots.SelectToken(2);  // chosen, then left without Add
  Do(&NewGameSlots::Previous);
  for (int i = 0; i < 3; ++i) Do(&NewGameSlots::Next);  // the third finds the empty slot and stays
  Add("Cia", 0, true, Strength::Easy);
  state.propertyLists[1].items = {4};
  state.propertyLists[2].items = {7};
  Do(&NewGameSlots::Previous);
  Do(&NewGameSlots::Previous);
  Add("");  // at a player an empty name keeps him
  ASSERT_EQ(slots.shown().name.utf8(), "Bo");

  // Later players move down a place, the property lists stay with their slots.
  const int ciaToken = state.players[2].token;
  Do(&NewGameSlots::Remove);
  EXPECT_EQ(std::tuple(state.playerCount, slots.editSlot(), state.players[1].name.utf8(),
                       int{state.players[1].token}),
            std::tuple(2, 1, "Cia", ciaToken));
  EXPECT_EQ(state.players[1].strength, Strength::Easy);  // her strength moves with her
  EXPECT_TRUE(state.players[2].name.empty());
  EXPECT_EQ(state.propertyLists[1].items, std::vector<int>{4});
  EXPECT_EQ(state.propertyLists[2].items, std::vector<int>{7});
  // Removing the last player shows the one before him; at the empty slot nothing is removed.
  Do(&NewGameSlots::Remove);
  EXPECT_EQ(slots.shown().name.utf8(), "Anna");
  Do(&NewGameSlots::Remove);
  Do(&NewGameSlots::Remove);
  EXPECT_EQ(std::tuple(state.playerCount, slots.editSlot()), std::tuple(0, 0));
  EXPECT_FALSE(slots.startEnabled() || slots.nextEnabled());
}

TEST(NewGameSlotsRoster, StoredRosterIsOfferedOnlyWhenSavingIsOn) {
  TempDir dir;
  const std::string path = dir.path("tomtura.lst");
  WriteBytes(path, "[LJUD]\nSparaSpelare=1\n1=3,,0,Eva\n2=7,,1,Dator\n3=1,,0,Ola\n");
  IniFile file = IniFile::Load(path);

  GameState state;
  NewGameSlots slots(state);
  slots.Open(file);
  EXPECT_EQ(std::tuple(state.playerCount, slots.editSlot(), slots.shown().name.utf8()),
            std::tuple(3, 0, "Eva"));
  EXPECT_EQ(slots.tokens(), (std::vector<int>{3, 0, 2, 4, 5, 6, 8, 9}));

  // Start stores the players as entered now; with saving off it leaves the file alone.
  slots.Next();
  slots.Remove();
  ASSERT_TRUE(StartNewGameRoster(file, state));
  EXPECT_EQ(IniFile::Load(path).GetString("LJUD", "2", ""), "1,,0,Ola");
  EXPECT_EQ(IniFile::Load(path).GetString("LJUD", "3", "?"), "");
  ASSERT_TRUE(file.Write("LJUD", "SparaSpelare", "0"));
  state.players[0].name.setUtf8("Annan");
  ASSERT_TRUE(StartNewGameRoster(file, state));
  EXPECT_EQ(IniFile::Load(path).GetString("LJUD", "1", ""), "3,,0,Eva");

  // Saving off: the players of the previous game are offered, not the roster.
  GameState previous;
  previous.playerCount = 1;
  previous.players[0].name.setUtf8("Kvar");
  NewGameSlots again(previous);
  again.Open(IniFile::Parse("[LJUD]\nSparaSpelare=0\n1=3,,0,Eva\n"));
  EXPECT_EQ(std::tuple(previous.playerCount, again.shown().name.utf8()), std::tuple(1, "Kvar"));
}

}  // namespace
}  // namespace tomtura
