// libFuzzer target of the history file beside a saved game. The input is checked against a
// saved game of its own player count with the money its running turn names and the check it
// carries, so that mutations reach every check behind those; a history that decodes must
// encode to the same bytes, and a game resumed with it must play on and keep adding turns.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "data/text_catalogue.h"
#include "fuzz_support.h"
#include "headless/headless_front_end.h"
#include "rules/game.h"
#include "store/history_file.h"

namespace {

using tomtura::fuzz::Require;

constexpr int kTicksPlayed = 2000;
constexpr std::size_t kHeader = 16;

std::int64_t Little(std::span<const std::uint8_t> in, std::size_t at, int n) {
  std::uint64_t v = 0;
  for (int i = 0; i < n; ++i) v |= std::uint64_t{in[at + i]} << (8 * i);
  return static_cast<std::int64_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  if (size < kHeader) {
    Require(!tomtura::DecodeHistory(input, 0, tomtura::SavedGame{}), "a stub is no history");
    return 0;
  }
  // The saved game the history claims: its players, with the money of its running turn.
  tomtura::SavedGame saved;
  saved.playerCount = input[11];
  for (int p = 0; p < saved.playerCount && p < tomtura::kMaxPlayers; ++p) {
    const std::size_t at = kHeader + 16 + 17 * static_cast<std::size_t>(p);
    if (at + 8 > size) break;
    saved.players[p].money = static_cast<std::int32_t>(Little(input, at, 8));
  }
  const auto check = static_cast<std::uint32_t>(Little(input, 6, 4));
  const std::optional<tomtura::GameHistory> history = tomtura::DecodeHistory(input, check, saved);
  if (!history) return 0;
  Require(saved.playerCount >= 2 && saved.playerCount <= tomtura::kMaxPlayers,
          "two to six players");
  Require(tomtura::EncodeHistory(*history, check) ==
              std::vector<std::uint8_t>(input.begin(), input.end()),
          "a decoded history re-encodes to itself");

  static const tomtura::TextCatalogue board = tomtura::TextCatalogue::Load(TOMTURA_FUZZ_BOARD);
  tomtura::HeadlessFrontEnd ui;
  tomtura::Game game(board, ui, 1);
  ui.Attach(game);
  for (int p = 0; p < tomtura::kMaxPlayers; ++p) {
    saved.players[p].isComputer = tomtura::kComputerPlayer;
    saved.players[p].name.setUtf8("Dator");
  }
  game.state.playerCount = saved.playerCount;
  game.texts.LoadPropertyTable(saved.properties);
  game.Resume(saved, &*history);
  const std::size_t before = game.history.points().size();
  for (int tick = 0; tick < kTicksPlayed; ++tick) {
    if (ui.Tick()) continue;
    if (game.state.turnPhase != tomtura::TurnPhase::AwaitRoll) break;
    game.Roll();
  }
  Require(game.history.points().size() >= before, "the history only grows");
  return 0;
}
