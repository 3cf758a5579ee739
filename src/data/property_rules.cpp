#include "data/property_rules.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tomtura {
namespace {

bool IsPlayer(int player) {
  return player >= 0 && player < kMaxPlayers;
}

}  // namespace

GroupMembers GroupScan(const PropertyTable& table, int p) {
  GroupMembers group;
  if (p < 0 || p >= kPropertyCount) return group;
  const int g = table[p].group;
  for (int i = kStreetCount - 1; i >= 0; --i) {
    if (table[i].group > g) continue;
    if (table[i].group < g) break;
    group.push_back(i);
  }
  return group;
}

int LiquidationValue(int player, const PropertyTable& table, const PlayerTable& players) {
  if (!IsPlayer(player)) return 0;
  // Summed wide: a hand-edited board file may hold prices that would overflow 32 bits.
  std::int64_t value = players[player].money;
  for (int p = 0; p < kBoardPropertyCount; ++p) {
    const Property& entry = table[p];
    if (entry.owner != player || entry.mortgaged != 0) continue;
    value += MortgageValue(entry) + HouseRefund(entry, entry.houses);
  }
  return static_cast<int>(std::clamp<std::int64_t>(value, std::numeric_limits<int>::min(),
                                                   std::numeric_limits<int>::max()));
}

bool CannotPayDebt(int player, const PropertyTable& table, const PlayerTable& players,
                   const std::array<std::uint16_t, kPropertyCount>& askedThisTurn) {
  if (LiquidationValue(player, table, players) >= 0) return false;
  for (int p = 0; p < kPropertyCount; ++p) {
    if (table[p].owner == player && askedThisTurn[p] == 0) return false;
  }
  return true;
}

int CountOwnedProperties(int player, const PropertyTable& table) {
  return static_cast<int>(std::count_if(table.begin(), table.end(),
                                        [&](const Property& p) { return p.owner == player; }));
}

int CountCompleteGroups(int player, const PropertyTable& table) {
  int count = 0;
  for (int i = kStreetCount - 1; i >= 0; --i) {
    if (table[i].owner != player) continue;
    const GroupMembers group = GroupScan(table, i);
    const bool complete =
        std::all_of(group.begin(), group.end(), [&](int p) { return table[p].owner == player; });
    if (complete) ++count;
    // The group's other entries beside it give the same answer: they are passed over.
    while (i > 0 && table[i - 1].group == table[i].group) --i;
  }
  return count;
}

}  // namespace tomtura
