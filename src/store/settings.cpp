#include "store/settings.h"

#include <charconv>

namespace tomtura {

namespace {

// Stored numbers are normalised to 1/0, so that a hand-edited 256 cannot count as on in the
// menu and as off where a rule uses the option's low byte.
int ReadFlag(const IniFile& file, std::string_view key, int fallback) {
  return file.GetInt(kOptionsSection, key, fallback) != 0 ? 1 : 0;
}

// The first `maxChars` characters of a UTF-8 text.
std::string FirstChars(std::string_view utf8, std::size_t maxChars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const bool startsCharacter = (static_cast<unsigned char>(utf8[i]) & 0xC0) != 0x80;
    if (startsCharacter && chars++ == maxChars) return std::string(utf8.substr(0, i));
  }
  return std::string(utf8);
}

}  // namespace

Options ReadOptions(const IniFile& file) {
  Options options;
  options.firstLapRule = ReadFlag(file, kKeyFirstLap, 1);
  options.soundOn = ReadFlag(file, kKeySound, 1);
  options.flatButtons = ReadFlag(file, kKeyFlatButtons, 1);
  options.musicOn = ReadFlag(file, kKeyMusic, 1);
  options.showCompanies = ReadFlag(file, kKeyShowCompanies, 1);
  options.fastMoves = ReadFlag(file, kKeyFastMoves, 0);
  options.savePlayers = ReadFlag(file, kKeySavePlayers, 0);
  options.auctionOn = ReadFlag(file, kKeyAuction, 1);
  options.background = ReadBackground(file);
  return options;
}

RuleSettings RuleSettingsOf(const Options& options) {
  RuleSettings settings;
  settings.firstLapRule = options.firstLapRule;
  settings.soundOn = options.soundOn;
  settings.musicOn = options.musicOn;
  settings.fastMoves = options.fastMoves;
  settings.auctionOn = options.auctionOn;
  return settings;
}

bool WriteOption(IniFile& file, std::string_view key, int value) {
  return file.Write(kOptionsSection, key, value != 0 ? "1" : "0");
}

std::optional<WindowPlace> ReadWindowPlace(const IniFile& file) {
  constexpr int kMinSide = 100;
  constexpr int kMaxCoordinate = 100000;
  const std::optional<std::string> text = file.Get(kOptionsSection, kKeyWindow);
  if (!text) return std::nullopt;
  int numbers[4] = {};
  std::string_view rest = *text;
  for (int i = 0; i < 4; ++i) {
    const std::size_t comma = rest.find(',');
    const std::string_view field = rest.substr(0, comma);
    const auto [end, error] =
        std::from_chars(field.data(), field.data() + field.size(), numbers[i]);
    if (error != std::errc() || end != field.data() + field.size()) return std::nullopt;
    if (numbers[i] < -kMaxCoordinate || numbers[i] > kMaxCoordinate) return std::nullopt;
    if ((comma == std::string_view::npos) != (i == 3)) return std::nullopt;
    if (comma != std::string_view::npos) rest.remove_prefix(comma + 1);
  }
  if (numbers[2] < kMinSide || numbers[3] < kMinSide) return std::nullopt;
  WindowPlace place{numbers[0], numbers[1], numbers[2], numbers[3]};
  place.stretched = file.GetInt(kOptionsSection, kKeyStretch, 0) != 0;
  place.gameLog = file.GetInt(kOptionsSection, kKeyGameLog, 0) != 0;
  return place;
}

bool WriteWindowPlace(IniFile& file, const WindowPlace& place) {
  const std::string text = std::to_string(place.x) + ',' + std::to_string(place.y) + ',' +
                           std::to_string(place.width) + ',' + std::to_string(place.height);
  return file.Write(kOptionsSection, kKeyWindow, text) &&
         WriteOption(file, kKeyStretch, place.stretched ? 1 : 0) &&
         WriteOption(file, kKeyGameLog, place.gameLog ? 1 : 0);
}

std::string ReadBackground(const IniFile& file) {
  return FirstChars(file.GetString(kOptionsSection, kKeyBackground, kDefaultBackground),
                    kMaxBackgroundChars);
}

bool WriteBackground(IniFile& file, std::string_view path) {
  return file.Write(kOptionsSection, kKeyBackground, path);
}

}  // namespace tomtura
