#include "store/roster.h"

#include <algorithm>
#include <array>
#include <optional>

#include "data/format.h"
#include "data/text_encoding.h"
#include "store/record_codec.h"
#include "store/settings.h"

namespace tomtura {

namespace {

constexpr std::size_t kMaxPasswordChars = 3;
constexpr std::size_t kMaxNameChars = 9;

// A byte that the board file's text cannot carry back unchanged inside a roster field.
bool Unstorable(unsigned char c) {
  constexpr unsigned char kUndefined[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};  // in Windows-1252
  if (c < 0x20 || c == ',') return true;
  for (unsigned char u : kUndefined) {
    if (c == u) return true;
  }
  return false;
}

std::string RosterKey(int index) {
  return std::to_string(index + 1);
}

struct RosterEntry {
  int token = 0;
  std::string password;  // Windows-1252
  int isComputer = 0;
  Strength strength = Strength::Normal;
  std::string name;  // Windows-1252
};

// A computer player's strength follows its "1" as a letter; Normal has none, as in older files.
constexpr char kEasyLetter = 'E';
constexpr char kHardLetter = 'H';

std::string_view StrengthLetter(const Player& player) {
  if (player.isComputer != 1) return "";
  switch (player.strength) {
    case Strength::Easy:
      return "E";
    case Strength::Hard:
      return "H";
    case Strength::Normal:
      break;
  }
  return "";
}

// One line in Windows-1252, or nullopt when it ends before its third comma.
std::optional<RosterEntry> ParseLine(std::string_view line) {
  RosterEntry entry;
  // Only a digit names a token picture; anything else falls back to the first picture.
  const char first = line.front();
  entry.token = (first >= '0' && first <= '9') ? first - '0' : 0;
  const std::size_t comma1 = line.find(',');
  if (comma1 == std::string_view::npos) return std::nullopt;
  const std::size_t comma2 = line.find(',', comma1 + 1);
  if (comma2 == std::string_view::npos) return std::nullopt;
  entry.password =
      ScramblePassword(line.substr(comma1 + 1, std::min(comma2 - comma1 - 1, kMaxPasswordChars)));
  entry.isComputer = (comma2 + 1 < line.size() && line[comma2 + 1] == '1') ? 1 : 0;
  const std::size_t comma3 = line.find(',', comma2 + 1);
  if (comma3 == std::string_view::npos) return std::nullopt;
  if (entry.isComputer == 1 && comma3 == comma2 + 3) {
    if (line[comma2 + 2] == kEasyLetter) entry.strength = Strength::Easy;
    if (line[comma2 + 2] == kHardLetter) entry.strength = Strength::Hard;
  }
  entry.name = std::string(line.substr(comma3 + 1, kMaxNameChars));
  if (entry.isComputer == 1) entry.password.clear();
  return entry;
}

}  // namespace

std::string ScramblePassword(std::string_view password) {
  std::string out(password);
  for (char& c : out) c = static_cast<char>(c ^ kRosterKey);
  return out;
}

std::string RosterLine(const GameState& state, int index) {
  if (index >= state.playerCount) return "";
  const Player& player = state.players[index];
  std::string scrambled = ScramblePassword(player.password.raw());
  for (char c : scrambled) {
    if (Unstorable(static_cast<unsigned char>(c))) {
      scrambled.clear();
      break;
    }
  }
  return FormatText("%d,%s,%d%s,%s", static_cast<int>(player.token), Cp1252ToUtf8(scrambled),
                    static_cast<int>(player.isComputer), std::string(StrengthLetter(player)),
                    player.name.utf8());
}

bool WriteRoster(IniFile& file, const GameState& state) {
  bool ok = true;
  for (int i = 0; i < kMaxPlayers; ++i) {
    ok = file.Write(kOptionsSection, RosterKey(i), RosterLine(state, i)) && ok;
  }
  return ok;
}

int ReadRoster(const IniFile& file, GameState& state) {
  int count = 0;
  std::array<bool, kMaxToken + 1> taken{};
  for (; count < kMaxPlayers; ++count) {
    std::string line = Utf8ToCp1252(file.GetString(kOptionsSection, RosterKey(count), ""));
    line.resize(std::min(line.size(), kRosterLineChars));
    if (line.empty()) break;
    const std::optional<RosterEntry> entry = ParseLine(line);
    if (!entry) break;
    // A token an earlier line took (a file edited by hand) gives way to the first free one:
    // no two players may share a piece.
    int token = entry->token;
    if (taken[token]) {
      token = static_cast<int>(std::find(taken.begin(), taken.end(), false) - taken.begin());
    }
    taken[token] = true;
    Player& player = state.players[count];
    player.token = static_cast<std::int16_t>(token);
    player.password.setRaw(entry->password);
    player.isComputer = static_cast<std::int16_t>(entry->isComputer);
    player.strength = entry->strength;
    player.name.setRaw(entry->name);
  }
  state.playerCount = count;
  return count;
}

bool RosterOffered(const IniFile& file, const GameState& state) {
  return file.GetInt(kOptionsSection, kKeySavePlayers, 0) != 0 && state.players[0].name.empty();
}

}  // namespace tomtura
