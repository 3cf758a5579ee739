#pragma once
// A saved game's history ("game.tom.stats" beside "game.tom"): the turns, tallies and running
// sums of GameHistory as a little-endian file of its own, so the saved game keeps its fixed
// format. It names the saved game it belongs to by a check of that file's bytes, and reading
// validates every value before a game takes it.
//
//   offset  size  field
//   0       4     "TTST"
//   4       2     version, 1
//   6       4     check of the saved game's bytes (FNV-1a, 32 bits)
//   10      1     start: 0 a new game, 1 a load without a history
//   11      1     player count n (2..6)
//   12      4     point count m (1..GameHistory::kMaxPoints)
//   16      9n+16 the running turn: bank paid, bank took (i64), per player cash, worth (i64) and
//                 creditor (i8, -1 the bank)
//   ..      112n  per player 14 tallies (i64) in the order of PlayerTally
//   ..      m(21+16n) per point: turn (i32), player (i8, -1 at the start), bank paid, bank took
//                 (i64), per player cash and worth (i64)
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/game_history.h"
#include "store/saved_game.h"

namespace tomtura {

inline constexpr std::string_view kHistoryExtension = ".stats";
constexpr std::uint16_t kHistoryVersion = 1;

// The history file beside the saved game at `savedGamePath` (the path as written, ".tom"
// included).
std::string HistoryPath(const std::string& savedGamePath);

// What ties a history to its saved game: FNV-1a over the saved game's bytes.
std::uint32_t SavedGameCheck(std::span<const std::uint8_t> savedGameBytes);

std::vector<std::uint8_t> EncodeHistory(const GameHistory& history, std::uint32_t savedGameCheck);

// The history of the saved game `saved` whose bytes have `savedGameCheck`; nullopt, with the
// reason in *fault, when the bytes are not a history of this version, belong to another saved
// game (another check, player count or money, a player count outside 2..6), are cut short or run
// on, or hold a value out of range (a start, player or creditor outside the game, turns not rising
// from 0, money beyond a player's record).
std::optional<GameHistory> DecodeHistory(std::span<const std::uint8_t> bytes,
                                         std::uint32_t savedGameCheck, const SavedGame& saved,
                                         std::string* fault = nullptr);

// Writes `history` beside the saved game just written from `state` to SavedGamePath(path).
bool SaveHistoryFile(const GameHistory& history, const GameState& state, const std::string& path);
// The history beside the saved game at `path` that was decoded as `saved`; nullopt when there is
// none, or none that belongs to that file.
std::optional<GameHistory> LoadHistoryFile(const std::string& path, const SavedGame& saved,
                                           std::string* fault = nullptr);

}  // namespace tomtura
