#include "store/new_game_slots.h"

#include <gtest/gtest.h>

#include <functional>
#include <tuple>

#include "store/roster.h"
#include "test_support.h"

namespace tomtura {
namespace {

// Every token is offered in the list or held by a player who is not shown, never both and
// never twice; the shown player's token stands on top.
void ExpectTokensAccountedFor(const NewGameSlots& slots, const GameState& state) {
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

// A dialog opened on an empty game with no stored roster.
struct NewGameSlotsTest : ::testing::Test {
  GameState state;
  NewGameSlots slots{state};
  NewGameSlotsTest() { slots.Open(IniFile()); }
};

TEST_F(NewGameSlotsTest, SixPlayersFillEverySlotAndTheLastStaysShown) {
  EXPECT_FALSE(slots.nextEnabled());
  EXPECT_FALSE(slots.previousEnabled());
  for (int i = 0; i < kMaxPlayers; ++i) {
    EXPECT_EQ(slots.editSlot(), i);
    EXPECT_EQ(slots.startEnabled(), i >= 2);
    slots.SelectToken(1);  // the second free token
    slots.Add("Spelare" + std::to_string(i), "", false);
    ExpectTokensAccountedFor(slots, state);
  }
  EXPECT_EQ(state.playerCount, 6);
  EXPECT_EQ(slots.editSlot(), 5);
  EXPECT_FALSE(slots.nextEnabled());
  EXPECT_TRUE(slots.previousEnabled());
  EXPECT_EQ(slots.shown().name.utf8(), "Spelare5");
  // Each took the second token of what was left: 1, 2, 3, 4, 5, 6.
  for (int i = 0; i < kMaxPlayers; ++i) EXPECT_EQ(state.players[i].token, i + 1);
  EXPECT_EQ(slots.tokens(), (std::vector<int>{6, 0, 7, 8, 9}));

  // Adding again at the last slot stores a change without a seventh player.
  slots.Add("Sista", "", false);
  EXPECT_EQ(state.playerCount, 6);
  EXPECT_EQ(slots.editSlot(), 5);
  EXPECT_EQ(state.players[5].name.utf8(), "Sista");
  ExpectTokensAccountedFor(slots, state);
}

TEST_F(NewGameSlotsTest, RemovingMovesLaterPlayersDownButNotTheirPropertyLists) {
  for (const char* name : {"Anna", "Bo", "Cia"}) slots.Add(name, "", false);
  state.propertyLists[1].items = {4};
  state.propertyLists[2].items = {7};
  slots.Previous();
  slots.Previous();  // Bo
  ASSERT_EQ(slots.shown().name.utf8(), "Bo");
  slots.Remove();
  EXPECT_EQ(state.playerCount, 2);
  EXPECT_EQ(slots.editSlot(), 1);
  EXPECT_EQ(state.players[1].name.utf8(), "Cia");
  EXPECT_EQ(state.players[1].token, 2);
  EXPECT_TRUE(state.players[2].name.empty());
  EXPECT_EQ(state.propertyLists[1].items, std::vector<int>{4});
  EXPECT_EQ(state.propertyLists[2].items, std::vector<int>{7});
  ExpectTokensAccountedFor(slots, state);

  // Removing the last player shows the one before him.
  slots.Remove();
  EXPECT_EQ(state.playerCount, 1);
  EXPECT_EQ(slots.editSlot(), 0);
  EXPECT_EQ(slots.shown().name.utf8(), "Anna");
  ExpectTokensAccountedFor(slots, state);
}

TEST_F(NewGameSlotsTest, EmptyNameOnlyRefreshesAndTheComputerHasNoPassword) {
  slots.Add("", "xyz", false);
  EXPECT_EQ(state.playerCount, 0);
  EXPECT_EQ(slots.editSlot(), 0);

  slots.Add("Dator", "xyz", true);
  EXPECT_EQ(state.players[0].isComputer, 1);
  EXPECT_TRUE(state.players[0].password.empty());
  slots.Add("Människa", "abcd", false);  // the password cut to 3 characters
  EXPECT_EQ(state.players[1].password.utf8(), "abc");

  // Back at a player, an empty name keeps him and lists his token once.
  slots.Previous();
  slots.Add("", "", false);
  EXPECT_EQ(state.playerCount, 2);
  EXPECT_EQ(slots.editSlot(), 1);
  ExpectTokensAccountedFor(slots, state);
}

TEST_F(NewGameSlotsTest, WalkingTheSlotsNeverLosesOrDoublesAToken) {
  const std::vector<std::function<void()>> steps = {
      [&] { slots.Add("A", "", false); },
      [&] {
        slots.SelectToken(4);
        slots.Add("B", "", false);
      },
      [&] { slots.Previous(); },
      [&] { slots.SelectToken(2); },  // chosen, then left without Add
      [&] { slots.Previous(); },
      [&] { slots.Next(); },
      [&] { slots.Next(); },
      [&] { slots.Next(); },  // already at the empty slot
      [&] { slots.Add("C", "", true); },
      [&] { slots.Previous(); },
      [&] { slots.Previous(); },
      [&] { slots.Remove(); },
      [&] {
        slots.SelectToken(5);
        slots.Add("D", "", false);
      },
  };
  for (std::size_t i = 0; i < steps.size(); ++i) {
    SCOPED_TRACE(i);
    steps[i]();
    ExpectTokensAccountedFor(slots, state);
  }
  EXPECT_EQ(state.playerCount, 2);
  EXPECT_EQ(state.players[0].name.utf8(), "A");
  EXPECT_EQ(state.players[1].name.utf8(), "D");

  // Removing everyone, and once more at the empty slot, leaves slot one empty.
  for (int i = 0; i < 3; ++i) {
    slots.Previous();
    slots.Remove();
    ExpectTokensAccountedFor(slots, state);
  }
  EXPECT_EQ(std::tuple(state.playerCount, slots.editSlot()), std::tuple(0, 0));
  EXPECT_TRUE(state.players[0].name.empty());
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
  EXPECT_EQ(state.playerCount, 3);
  EXPECT_EQ(slots.editSlot(), 0);
  EXPECT_EQ(slots.shown().name.utf8(), "Eva");
  EXPECT_TRUE(slots.startEnabled());
  EXPECT_TRUE(slots.nextEnabled());
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
  previous.players[0].token = 6;
  NewGameSlots again(previous);
  again.Open(IniFile::Parse("[LJUD]\nSparaSpelare=0\n1=3,,0,Eva\n"));
  EXPECT_EQ(previous.playerCount, 1);
  EXPECT_EQ(again.shown().name.utf8(), "Kvar");
  EXPECT_EQ(again.tokens().front(), 6);
}

}  // namespace
}  // namespace tomtura
