#include "store/saved_game.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "data/format.h"
#include "data/ini_file.h"

namespace tomtura {

namespace {

// A player record of the file: 2 reserved bytes, then the shared player fields.
constexpr std::size_t kPlayerFields = 2;
static_assert(kPlayerFields + kPlayerFieldsSize == kSavedPlayerSize);

constexpr int kMinPlayers = 2;

// The reserved bytes of a computer player who is not Normal: the mark, then the strength's
// letter. Every other record keeps the zeros of older files.
constexpr std::uint8_t kStrengthMark = 'S';
constexpr std::uint8_t kEasyLetter = 'E';
constexpr std::uint8_t kHardLetter = 'H';
constexpr std::int16_t kComputerPlayer = 1;

void EncodePlayer(const Player& player, std::uint8_t* out) {
  out[0] = 0;
  out[1] = 0;
  if (player.isComputer == kComputerPlayer && player.strength != Strength::Normal) {
    out[0] = kStrengthMark;
    out[1] = player.strength == Strength::Easy ? kEasyLetter : kHardLetter;
  }
  EncodePlayerFields(
      player, std::span<std::uint8_t, kPlayerFieldsSize>(out + kPlayerFields, kPlayerFieldsSize));
}

Player DecodePlayer(const std::uint8_t* in) {
  Player player = DecodePlayerFields(
      std::span<const std::uint8_t, kPlayerFieldsSize>(in + kPlayerFields, kPlayerFieldsSize));
  if (player.isComputer == kComputerPlayer && in[0] == kStrengthMark) {
    if (in[1] == kEasyLetter) player.strength = Strength::Easy;
    if (in[1] == kHardLetter) player.strength = Strength::Hard;
  }
  return player;
}

bool PlayerValid(const Player& player) {
  return PlayerRecordFault(player).empty();
}

bool PropertyValid(const Property& property) {
  return PropertyRecordFault(property).empty();
}

}  // namespace

ReadResult ReadFilePrefix(const std::string& path, std::size_t limit,
                          std::vector<std::uint8_t>& bytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return ReadResult::CannotOpen;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return ReadResult::CannotOpen;
  // Read in pieces: the limit can be far larger than the file (a history's), and a buffer of
  // the limit's size would be cleared and held for nothing.
  constexpr std::size_t kPiece = 64 * 1024;
  bytes.clear();
  std::size_t got = 0;
  while (got < limit) {
    bytes.resize(got + std::min(kPiece, limit - got));
    const std::size_t n = std::fread(bytes.data() + got, 1, bytes.size() - got, file);
    got += n;
    if (got < bytes.size()) break;
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return ReadResult::CannotOpen;
  bytes.resize(got);
  return ReadResult::Read;
}

SavedGameBytes EncodeSavedGame(const GameState& state) {
  SavedGameBytes bytes{};
  PutU16(bytes.data(), static_cast<std::uint16_t>(state.playerCount));
  for (int i = 0; i < kMaxPlayers; ++i) {
    EncodePlayer(state.players[i], bytes.data() + kSavedPlayersOffset + i * kSavedPlayerSize);
  }
  for (int p = 0; p < kPropertyCount; ++p) {
    EncodePropertyRecord(
        state.properties[p],
        std::span<std::uint8_t, kPropertyRecordSize>(
            bytes.data() + kSavedPropertiesOffset + p * kPropertyRecordSize, kPropertyRecordSize));
  }
  PutU16(bytes.data() + kSavedCurrentPlayerOffset, static_cast<std::uint16_t>(state.currentPlayer));
  for (int i = 0; i < kMaxPlayers; ++i) {
    PutU16(bytes.data() + kSavedFirstLapOffset + 2 * i, state.firstLap[i]);
  }
  return bytes;
}

std::optional<SavedGame> DecodeSavedGame(std::span<const std::uint8_t> bytes) {
  if (bytes.size() != kSavedGameSize) return std::nullopt;
  const std::uint8_t* data = bytes.data();
  SavedGame saved;
  saved.playerCount = GetI16(data);
  if (saved.playerCount < kMinPlayers || saved.playerCount > kMaxPlayers) return std::nullopt;
  for (int i = 0; i < kMaxPlayers; ++i) {
    saved.players[i] = DecodePlayer(data + kSavedPlayersOffset + i * kSavedPlayerSize);
    if (!PlayerValid(saved.players[i])) return std::nullopt;
  }
  for (int p = 0; p < kPropertyCount; ++p) {
    saved.properties[p] = DecodePropertyRecord(std::span<const std::uint8_t, kPropertyRecordSize>(
        data + kSavedPropertiesOffset + p * kPropertyRecordSize, kPropertyRecordSize));
    if (!PropertyValid(saved.properties[p])) return std::nullopt;
  }
  saved.currentPlayer = GetI16(data + kSavedCurrentPlayerOffset);
  if (saved.currentPlayer < 0 || saved.currentPlayer >= saved.playerCount) return std::nullopt;
  for (int i = 0; i < kMaxPlayers; ++i) {
    saved.firstLap[i] = GetU16(data + kSavedFirstLapOffset + 2 * i);
  }
  return saved;
}

std::string SavedGamePath(const std::string& chosen) {
  if (chosen.find('.') != std::string::npos) return chosen;
  return chosen + std::string(kSavedGameExtension);
}

bool SaveGameFile(const GameState& state, const TextCatalogue& texts, const std::string& path,
                  std::string* error) {
  const std::string target = SavedGamePath(path);
  const SavedGameBytes bytes = EncodeSavedGame(state);
  // A file the user made read-only is refused, not replaced behind his back by the rename.
  std::error_code ec;
  const bool readOnlyTarget =
      std::filesystem::exists(target, ec) && access(target.c_str(), W_OK) != 0;
  if (readOnlyTarget ||
      !WriteFileAtomically(
          target, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
    if (error != nullptr) *error = FormatText(texts.GetText(kTextCannotSave), target);
    return false;
  }
  if (error != nullptr) error->clear();
  return true;
}

std::optional<SavedGame> LoadGameFile(const std::string& path, const TextCatalogue& texts,
                                      std::string* error) {
  if (error != nullptr) error->clear();
  std::vector<std::uint8_t> bytes;
  // One byte more than a saved game, so that a longer file is seen as such.
  if (ReadFilePrefix(path, kSavedGameSize + 1, bytes) == ReadResult::CannotOpen) {
    return std::nullopt;
  }
  std::optional<SavedGame> saved = DecodeSavedGame(bytes);
  if (!saved && error != nullptr) *error = FormatText(texts.GetText(kTextNotASavedGame), path);
  return saved;
}

}  // namespace tomtura
