// libFuzzer target of the saved-game decoder. A position that decodes must encode to bytes that
// decode to the same position, and must be playable: it is resumed in a game of the default
// board and played on for a few hundred timer ticks. The input is also decoded cut or padded to the
// size of a saved game, so that most mutations reach the checks behind the length test.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "data/text_catalogue.h"
#include "fuzz_support.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "store/saved_game.h"

namespace {

using tomtura::SavedGame;
using tomtura::fuzz::Require;

constexpr int kTicksPlayed = 3000;

bool SamePosition(const SavedGame& a, const SavedGame& b) {
  return a.playerCount == b.playerCount && a.players == b.players && a.properties == b.properties &&
         a.currentPlayer == b.currentPlayer && a.firstLap == b.firstLap;
}

tomtura::GameState StateOf(const SavedGame& saved) {
  tomtura::GameState state;
  state.playerCount = saved.playerCount;
  state.players = saved.players;
  state.properties = saved.properties;
  state.currentPlayer = saved.currentPlayer;
  state.firstLap = saved.firstLap;
  return state;
}

const tomtura::TextCatalogue& DefaultBoard() {
  static const tomtura::TextCatalogue texts = tomtura::TextCatalogue::Load(TOMTURA_FUZZ_BOARD);
  return texts;
}

void CheckPosition(const SavedGame& saved) {
  const tomtura::SavedGameBytes bytes = tomtura::EncodeSavedGame(StateOf(saved));
  const std::optional<SavedGame> again = tomtura::DecodeSavedGame(bytes);
  Require(again.has_value() && SamePosition(*again, saved),
          "a decoded position re-encodes to itself");

  tomtura::HeadlessFrontEnd ui;
  tomtura::Game game(DefaultBoard(), ui, 1);
  ui.Attach(game);
  game.Resume(saved);
  // A bounded number of timer ticks, rolling for whoever waits for it: a whole turn can take
  // a hundred thousand ticks on a position that sends a token round for ever.
  for (int tick = 0; tick < kTicksPlayed; ++tick) {
    if (ui.Tick()) continue;
    if (game.state.turnPhase != tomtura::TurnPhase::AwaitRoll) break;
    game.Roll();
  }
  const tomtura::GameState& state = game.state;
  tomtura::fuzz::RequireStateInRange(state, tomtura::kMaxPlayers);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  const std::optional<SavedGame> saved = tomtura::DecodeSavedGame(input);
  Require(!saved || size == tomtura::kSavedGameSize, "only 1,840 bytes are a saved game");
  if (saved) {
    CheckPosition(*saved);
    return 0;
  }
  std::vector<std::uint8_t> fitted(input.begin(), input.end());
  fitted.resize(tomtura::kSavedGameSize);
  if (const std::optional<SavedGame> fit = tomtura::DecodeSavedGame(fitted)) CheckPosition(*fit);
  return 0;
}
