#pragma once
// Pure queries over a property table and a player table (the live ones, or the play window's
// working copies).
#include <vector>

#include "data/game_state.h"

namespace tomtura {

// The entries of p's colour group found by the fixed group scan: from entry 21 downwards,
// skipping greater groups, stopping at the first smaller one. Empty for stations, utilities
// and jail cards.
std::vector<int> GroupScan(const PropertyTable& table, int p);

// Money after mortgaging every unmortgaged property 0..27 and selling every house at half price.
int LiquidationValue(int player, const PropertyTable& table, const PlayerTable& players);

int CountOwnedProperties(int player, const PropertyTable& table);
int CountCompleteGroups(int player, const PropertyTable& table);

}  // namespace tomtura
