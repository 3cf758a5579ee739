#include <gtest/gtest.h>

#include <string>

#include "data/game_log.h"
#include "data/game_state.h"
#include "data/property_rules.h"

namespace tomtura {
namespace {

TEST(GameLog, EntriesStartWithThePlayerAndStandNewestFirst) {
  GameLog log;
  log.Add(0, "first");
  log.Add(3, "Eva köpte Udden för 6800 kr.");
  log.Add(12, "wide");
  EXPECT_EQ(log.entries(),
            (std::deque<std::string>{"1wide", "3Eva köpte Udden för 6800 kr.", "0first"}));
  log.Add(-1, "New  game");
  EXPECT_EQ(log.entries(), (std::deque<std::string>{"-New  game"}));

  // The player's digit and then the text, cut to 255 bytes, or before a character they would split.
  log.Add(2, std::string(300, 'x'));
  EXPECT_EQ(log.entries()[0], "2" + std::string(255, 'x'));
  log.Add(2, std::string(254, 'x') + "\xC3\xA4");  // 'ä' would end at byte 256
  EXPECT_EQ(log.entries()[0], "2" + std::string(254, 'x'));

  log.Clear();
  for (std::size_t i = 0; i <= GameLog::kMaxEntries; ++i) log.Add(1, std::to_string(i));
  EXPECT_EQ(log.size(), GameLog::kMaxEntries);
  EXPECT_EQ(log.entries().front(), "1" + std::to_string(GameLog::kMaxEntries));
  EXPECT_EQ(log.entries().back(), "11");  // entry "0" was the oldest and is gone
}

TEST(PropertyList, KeepsItemsSortedAndTheSelectionOnItsItem) {
  PropertyList list;
  for (const int p : {7, 2, 9, 5}) list.InsertSorted(p);
  EXPECT_EQ(list.items, (std::vector<int>{2, 5, 7, 9}));
  EXPECT_EQ(list.selected, 1);
  list.Append(kChanceJailCard);
  EXPECT_EQ(list.selected, 4);
  list.selected = 3;
  list.RemoveAt(0);
  EXPECT_EQ(list.selected, 2);  // still on 9
  list.RemoveAt(2);
  EXPECT_EQ(list.selected, -1);
  list.RemoveAt(7);  // out of range: nothing happens
  EXPECT_EQ(list.items, (std::vector<int>{5, 7, kChanceJailCard}));
}

TEST(PropertyList, RebuildFollowsTheOwners) {
  GameState state;
  state.playerCount = 3;
  for (const int p : {29, 3, 14}) state.properties[p].owner = 0;
  state.properties[8].owner = 1;
  state.properties[5].owner = 4;  // beyond playerCount
  state.propertyLists[0].selected = 2;
  state.propertyLists[1].selected = 3;
  state.propertyLists[2] = {{1, 2}, 1, true};
  state.propertyLists[4] = {{6}, 0, false};

  RebuildPropertyLists(state);
  EXPECT_EQ(state.propertyLists[0].selected, 2);  // still in range
  EXPECT_EQ(state.propertyLists[1].selected, 0);  // out of range: the first item
  EXPECT_EQ(state.propertyLists[2].selected, -1);
  EXPECT_EQ(state.propertyLists[4].items, (std::vector<int>{6}));  // not in play: untouched
}

// A table shaped like the board: colour groups of 2, 3, 3, 3, 3, 3, 3 and 2 streets.
PropertyTable BoardTable() {
  PropertyTable table{};
  const int groupOf[kStreetCount] = {0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3,
                                     4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7};
  for (int p = 0; p < kPropertyCount; ++p) {
    table[p].group = static_cast<std::int16_t>(p < kStreetCount ? groupOf[p]
                                               : p < 26         ? kStationGroup
                                               : p < 28         ? kUtilityGroup
                                                                : kJailCardGroup);
  }
  return table;
}

TEST(PropertyRules, LiquidationValue) {
  PropertyTable table = BoardTable();
  PlayerTable players{};
  players[1].money = 1000;
  Property& street = table[4];
  street = {{}, 1200, 1000, {}, 1, kHotel, 0, 1};
  EXPECT_EQ(LiquidationValue(1, table, players), 1000 + 600 + 2500);
  street.mortgaged = 1;
  EXPECT_EQ(LiquidationValue(1, table, players), 1000);

  // Each half rounds down by itself; a jail card adds nothing but counts as owned.
  street = {{}, 1001, 333, {}, 1, 1, 0, 1};
  table[kChanceJailCard].owner = 1;
  table[kChanceJailCard].price = 500;
  players[1].money = -5000;
  EXPECT_EQ(LiquidationValue(1, table, players), -5000 + 500 + 166);
  EXPECT_EQ(CountOwnedProperties(1, table), 2);
}

TEST(PropertyRules, CountCompleteGroups) {
  const std::pair<std::vector<int>, int> cases[] = {
      {{0, 1, 2, 3}, 1},  // a two-entry group and two of a three-entry group
      {{20, 21, 0, 1, 17, 18, 19}, 3},
      {{22, 23, 24, 25, 26, 27}, 0},  // stations and utilities are no colour groups
  };
  for (const auto& [owned, want] : cases) {
    PropertyTable table = BoardTable();
    for (const int p : owned) table[p].owner = 2;
    EXPECT_EQ(CountCompleteGroups(2, table), want) << owned.size();
  }
}

}  // namespace
}  // namespace tomtura
