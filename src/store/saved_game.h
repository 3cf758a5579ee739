#pragma once
// Saved games ("*.tom"): a fixed 1,840-byte little-endian image of the position (players,
// property table, whose turn it is, first-lap flags). Reading validates every value that the
// rules use as an index before anything of the running game changes.
//
// A computer player's strength lives in the two reserved bytes in front of its record, which
// older programs left unread: "SE" for Easy, "SH" for Hard. A Normal computer and a person
// have zeros there, as every older file of ours does, so a game of Normal computers saves byte
// for byte as before and an older file loads as Normal; any other value there reads as Normal
// too (a list handle of a still older program could only be taken for a strength if it happened
// to spell one of the two).
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "data/game_state.h"
#include "data/text_catalogue.h"
#include "data/text_ids.h"
#include "store/record_codec.h"

namespace tomtura {

constexpr std::size_t kSavedGameSize = 1840;
constexpr std::size_t kSavedPlayerSize = 34;
constexpr std::size_t kSavedPlayersOffset = 2;
constexpr std::size_t kSavedPropertiesOffset =
    kSavedPlayersOffset + kMaxPlayers * kSavedPlayerSize;  // 206
constexpr std::size_t kSavedCurrentPlayerOffset =
    kSavedPropertiesOffset + kPropertyCount * kPropertyRecordSize;           // 1826
constexpr std::size_t kSavedFirstLapOffset = kSavedCurrentPlayerOffset + 2;  // 1828
static_assert(kSavedFirstLapOffset + 2 * kMaxPlayers == kSavedGameSize);

inline constexpr std::string_view kSavedGameExtension = ".tom";

using SavedGameBytes = std::array<std::uint8_t, kSavedGameSize>;

// The position a saved game holds, decoded and checked, not yet applied to any game.
struct SavedGame {
  int playerCount = 0;
  PlayerTable players{};
  PropertyTable properties{};
  int currentPlayer = 0;
  std::array<std::uint16_t, kMaxPlayers> firstLap{};
};

SavedGameBytes EncodeSavedGame(const GameState& state);

// The position of a saved game, or nullopt when the bytes are not one: a length other than
// 1,840, a player count outside 2..6, a current player outside the players, an owner outside
// -1..5, houses outside 0..5, a position outside 0..39 or a token outside 0..9. Name and
// password fields without a terminating NUL are cut to fit. The two reserved bytes of each
// player record are read only for a computer player's strength.
std::optional<SavedGame> DecodeSavedGame(std::span<const std::uint8_t> bytes);

// The path a save to `chosen` writes: ".tom" appended when the whole path holds no '.'.
std::string SavedGamePath(const std::string& chosen);

// Writes the position to SavedGamePath(path), replacing an earlier file only once every byte
// is written. On failure returns false, leaves any earlier file as it was and sets *error (when
// given) to text 26 formatted with the path.
bool SaveGameFile(const GameState& state, const TextCatalogue& texts, const std::string& path,
                  std::string* error);
// Reads the saved game at `path`: its position, to be resumed by Game::Resume; nullopt when the
// file cannot be opened (no message, *error empty) or is not a saved game (*error = text 157
// with the path).
std::optional<SavedGame> LoadGameFile(const std::string& path, const TextCatalogue& texts,
                                      std::string* error);

enum class ReadResult { Read, CannotOpen };
// Reads at most `limit` bytes of a regular file; anything else counts as a file that cannot be
// opened, so that a directory or a pipe never blocks or passes for a saved game.
ReadResult ReadFilePrefix(const std::string& path, std::size_t limit,
                          std::vector<std::uint8_t>& bytes);

}  // namespace tomtura
