// The game object itself and what it gives the dealing code.
#include "rules/game.h"

#include <utility>

namespace tomtura {

Game::Game(TextCatalogue texts, FrontEnd& ui, std::uint64_t seed)
    : Tabletop(std::move(texts)), ui(ui), rng(seed) {
  // The board of a new game is the one of the board file; loading a game replaces it.
  this->texts.LoadPropertyTable(state.properties);
  const Dice shown = StartingFaces(seed);
  state.die1 = shown.die1;
  state.die2 = shown.die2;
  referee.SubscribeOutcomes(
      [this](const Outcome& outcome, const DecisionRecord*) { history.Note(outcome, state); });
}

bool Game::AskConsent(const ConsentOffer& offer) {
  return referee.AskConsent(offer);
}

bool Game::Apply(const Outcome& outcome) {
  // Of the dealing code's changes a deal follows the partner's consent; the rest follow rules.
  const bool agreed = std::holds_alternative<Deal>(outcome.what);
  return referee.Apply(outcome, agreed ? referee.lastDecision() : nullptr);
}

void Game::Tell(const std::string& text, bool warning) {
  ui.ShowMessage(text, warning ? MessageIcon::Exclamation : MessageIcon::Information);
}

void Game::StatusLineChanged() {
  ui.Changed({Changes::kStatusLine});
}

void Game::RefreshPropertyLists() {
  RebuildPropertyLists(state);
  ui.Changed({Changes::kPanel});
}

}  // namespace tomtura
