#include "data/game_state.h"

#include <algorithm>

namespace tomtura {

StreetNames StreetNamesOf(const PropertyTable& table) {
  StreetNames names{};
  for (int p = 0; p < kPropertyCount; ++p) names[p] = table[p].name;
  return names;
}

void PropertyList::InsertSorted(int p) {
  const auto at = std::upper_bound(items.begin(), items.end(), p);
  selected = static_cast<int>(at - items.begin());
  items.insert(at, p);
}

void PropertyList::Append(int p) {
  items.push_back(p);
  selected = static_cast<int>(items.size()) - 1;
}

void PropertyList::RemoveAt(int index) {
  if (index < 0 || index >= static_cast<int>(items.size())) return;
  items.erase(items.begin() + index);
  // The selection stays on the same item; removing the selected item leaves none.
  if (selected == index) {
    selected = -1;
  } else if (selected > index) {
    --selected;
  }
}

void RebuildPropertyLists(GameState& state) {
  const int players = std::clamp(state.playerCount, 0, kMaxPlayers);
  for (int i = 0; i < players; ++i) {
    PropertyList& list = state.propertyLists[i];
    const int previous = list.selected;
    list.Clear();
    for (int p = 0; p < kPropertyCount; ++p) {
      if (state.properties[p].owner == i) list.items.push_back(p);
    }
    if (previous >= 0 && previous < static_cast<int>(list.items.size())) {
      list.selected = previous;
    } else {
      list.SelectFirst();
    }
  }
}

}  // namespace tomtura
