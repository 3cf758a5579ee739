#pragma once
// Pure queries over a property table and a player table (the live ones, or the play window's
// working copies).
#include <array>
#include <cstddef>

#include "data/game_state.h"

namespace tomtura {

// The entries of one colour group, in the order the scan found them; a value that a loop over
// the group takes without allocating.
class GroupMembers {
 public:
  const int* begin() const { return entries_.data(); }
  const int* end() const { return entries_.data() + count_; }
  int size() const { return count_; }
  bool empty() const { return count_ == 0; }
  int operator[](int i) const { return entries_[static_cast<std::size_t>(i)]; }
  void push_back(int p) { entries_[static_cast<std::size_t>(count_++)] = p; }

 private:
  std::array<int, kStreetCount> entries_;
  int count_ = 0;
};

// The entries of p's colour group found by the fixed group scan: from entry 21 downwards,
// skipping greater groups, stopping at the first smaller one. Empty for stations, utilities
// and jail cards.
GroupMembers GroupScan(const PropertyTable& table, int p);

// The money rules of dealing; halves and twentieths round towards zero.
// What mortgaging a property pays.
inline int MortgageValue(const Property& property) {
  return property.price / 2;
}
// What lifting its mortgage costs: the mortgage value and a twentieth of the price.
inline int UnmortgageCost(const Property& property) {
  return property.price / 2 + property.price / 20;
}
// What selling `count` houses of a property back to the bank pays.
inline int HouseRefund(const Property& property, int count = 1) {
  return (property.housePrice * count) / 2;
}

// Money after mortgaging every unmortgaged property 0..27 and selling every house at half price.
int LiquidationValue(int player, const PropertyTable& table, const PlayerTable& players);

// Whether `player` cannot pay his debts: selling every house and mortgaging everything would
// still leave him short, and every property of his has been offered in vain this turn (one not
// yet offered may still find a buyer who pays more than the bank).
bool CannotPayDebt(int player, const PropertyTable& table, const PlayerTable& players,
                   const std::array<std::uint16_t, kPropertyCount>& askedThisTurn);

int CountOwnedProperties(int player, const PropertyTable& table);
int CountCompleteGroups(int player, const PropertyTable& table);

}  // namespace tomtura
