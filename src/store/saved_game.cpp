#include "store/saved_game.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "data/ini_file.h"
#include "data/format.h"

namespace tomtura {

namespace {

// Offsets inside a 34-byte player record of the file (0..1 are reserved and ignored).
constexpr std::size_t kPlayerName = 2;
constexpr std::size_t kPlayerPassword = 12;
constexpr std::size_t kPlayerIsComputer = 16;
constexpr std::size_t kPlayerTokenX = 18;
constexpr std::size_t kPlayerTokenY = 20;
constexpr std::size_t kPlayerPosition = 22;
constexpr std::size_t kPlayerToken = 24;
constexpr std::size_t kPlayerMoney = 26;
constexpr std::size_t kPlayerJailTurns = 30;
constexpr std::size_t kPlayerIsBankrupt = 32;

// Offsets inside a 54-byte property record.
constexpr std::size_t kPropertyPrice = 30;
constexpr std::size_t kPropertyHousePrice = 32;
constexpr std::size_t kPropertyRent = 34;
constexpr std::size_t kPropertyGroup = 46;
constexpr std::size_t kPropertyHouses = 48;
constexpr std::size_t kPropertyMortgaged = 50;
constexpr std::size_t kPropertyOwner = 52;

constexpr int kMinPlayers = 2;

void PutU16(std::uint8_t* out, std::uint16_t value) {
  out[0] = static_cast<std::uint8_t>(value & 0xFF);
  out[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutI32(std::uint8_t* out, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

std::uint16_t GetU16(const std::uint8_t* in) {
  return static_cast<std::uint16_t>(in[0] | (in[1] << 8));
}

std::int16_t GetI16(const std::uint8_t* in) {
  return static_cast<std::int16_t>(GetU16(in));
}

std::int32_t GetI32(const std::uint8_t* in) {
  std::uint32_t bits = 0;
  for (int i = 0; i < 4; ++i) bits |= static_cast<std::uint32_t>(in[i]) << (8 * i);
  return static_cast<std::int32_t>(bits);
}

template <std::size_t N>
void PutText(std::uint8_t* out, const FixedText<N>& text) {
  for (std::size_t i = 0; i < N; ++i) out[i] = static_cast<std::uint8_t>(text.bytes[i]);
}

// A text field of the file; setRaw stops at the first NUL and cuts an unterminated field.
template <std::size_t N>
void GetText(const std::uint8_t* in, FixedText<N>& text) {
  text.setRaw(std::string_view(reinterpret_cast<const char*>(in), N));
}

void EncodePlayer(const Player& player, std::uint8_t* out) {
  PutU16(out, 0);
  PutText(out + kPlayerName, player.name);
  PutText(out + kPlayerPassword, player.password);
  PutU16(out + kPlayerIsComputer, static_cast<std::uint16_t>(player.isComputer));
  PutU16(out + kPlayerTokenX, static_cast<std::uint16_t>(player.tokenX));
  PutU16(out + kPlayerTokenY, static_cast<std::uint16_t>(player.tokenY));
  PutU16(out + kPlayerPosition, static_cast<std::uint16_t>(player.position));
  PutU16(out + kPlayerToken, static_cast<std::uint16_t>(player.token));
  PutI32(out + kPlayerMoney, player.money);
  PutU16(out + kPlayerJailTurns, static_cast<std::uint16_t>(player.jailTurns));
  PutU16(out + kPlayerIsBankrupt, static_cast<std::uint16_t>(player.isBankrupt));
}

Player DecodePlayer(const std::uint8_t* in) {
  Player player;
  GetText(in + kPlayerName, player.name);
  GetText(in + kPlayerPassword, player.password);
  player.isComputer = GetI16(in + kPlayerIsComputer);
  player.tokenX = GetI16(in + kPlayerTokenX);
  player.tokenY = GetI16(in + kPlayerTokenY);
  player.position = GetI16(in + kPlayerPosition);
  player.token = GetI16(in + kPlayerToken);
  player.money = GetI32(in + kPlayerMoney);
  player.jailTurns = GetI16(in + kPlayerJailTurns);
  player.isBankrupt = GetI16(in + kPlayerIsBankrupt);
  return player;
}

bool PlayerValid(const Player& player) {
  return player.position >= 0 && player.position < kSquareCount && player.token >= 0 &&
         player.token <= kMaxToken;
}

bool PropertyValid(const Property& property) {
  return property.owner >= kNobody && property.owner < kMaxPlayers && property.houses >= 0 &&
         property.houses <= kHotel;
}

enum class ReadResult { Read, CannotOpen };

// Reads at most `limit` bytes of a regular file; anything else counts as a file that cannot be
// opened, so that a directory or a pipe never blocks or passes for a saved game.
ReadResult ReadFilePrefix(const std::string& path, std::size_t limit,
                          std::vector<std::uint8_t>& bytes) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return ReadResult::CannotOpen;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return ReadResult::CannotOpen;
  bytes.resize(limit);
  const std::size_t got = std::fread(bytes.data(), 1, limit, file);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) return ReadResult::CannotOpen;
  bytes.resize(got);
  return ReadResult::Read;
}

}  // namespace

void EncodePropertyRecord(const Property& property,
                          std::span<std::uint8_t, kPropertyRecordSize> out) {
  std::uint8_t* p = out.data();
  PutText(p, property.name);
  PutU16(p + kPropertyPrice, static_cast<std::uint16_t>(property.price));
  PutU16(p + kPropertyHousePrice, static_cast<std::uint16_t>(property.housePrice));
  for (std::size_t i = 0; i < property.rent.size(); ++i) {
    PutU16(p + kPropertyRent + 2 * i, property.rent[i]);
  }
  PutU16(p + kPropertyGroup, static_cast<std::uint16_t>(property.group));
  PutU16(p + kPropertyHouses, static_cast<std::uint16_t>(property.houses));
  PutU16(p + kPropertyMortgaged, property.mortgaged);
  PutU16(p + kPropertyOwner, static_cast<std::uint16_t>(property.owner));
}

Property DecodePropertyRecord(std::span<const std::uint8_t, kPropertyRecordSize> in) {
  const std::uint8_t* p = in.data();
  Property property;
  GetText(p, property.name);
  property.price = GetI16(p + kPropertyPrice);
  property.housePrice = GetI16(p + kPropertyHousePrice);
  for (std::size_t i = 0; i < property.rent.size(); ++i) {
    property.rent[i] = GetU16(p + kPropertyRent + 2 * i);
  }
  property.group = GetI16(p + kPropertyGroup);
  property.houses = GetI16(p + kPropertyHouses);
  property.mortgaged = GetU16(p + kPropertyMortgaged);
  property.owner = GetI16(p + kPropertyOwner);
  return property;
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
