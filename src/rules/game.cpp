// The game object itself and the small services every rule file uses.
#include "rules/game.h"

#include <utility>

namespace tomtura {

namespace {
constexpr int kTextMortgaged = 11;
}  // namespace

Game::Game(TextCatalogue texts, FrontEnd& ui, std::uint64_t seed)
    : texts(std::move(texts)), ui(ui), rng(seed) {
  // The board of a new game is the one of the board file; loading a game replaces it.
  this->texts.LoadPropertyTable(state.properties);
  const Dice shown = StartingFaces(seed);
  state.die1 = shown.die1;
  state.die2 = shown.die2;
}

std::string Game::OfferName(int p, const PropertyTable& table) const {
  std::string name = table[p].name.utf8();
  if (table[p].mortgaged != 0) name += "(" + Text(kTextMortgaged) + ")";
  return name;
}

void Game::RefreshPropertyLists() {
  RebuildPropertyLists(state);
  ui.PanelChanged();
}

}  // namespace tomtura
