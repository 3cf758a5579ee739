#pragma once
// Helpers shared by the file parsers' fuzz targets: a failed invariant aborts (libFuzzer then
// saves the input), an input may carry a trailing command line after the file's bytes, and
// writes go to a scratch directory of this process only.
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>

#include "data/game_state.h"

namespace tomtura::fuzz {

inline void Require(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

// The input split at the last line that starts with `marker` (e.g. "\n;W:"): the file's bytes
// before it and the command after it. Without the marker the whole input is the file and the
// command a null view (an empty command after the marker is not null).
inline std::pair<std::string_view, std::string_view> SplitCommand(std::string_view input,
                                                                  std::string_view marker) {
  const std::size_t at = input.rfind(marker);
  if (at == std::string_view::npos) return {input, {}};
  return {input.substr(0, at),
          std::string_view(input.data() + at + marker.size(), input.size() - at - marker.size())};
}

// The next field of a command, up to '|'; the last field takes the rest.
inline std::string_view NextField(std::string_view& rest) {
  const std::size_t bar = rest.find('|');
  const std::string_view field = rest.substr(0, bar);
  rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
  return field;
}

// A directory under /tmp made once for this process and removed when it ends. Its name is
// never destroyed, so that the exit handler can still read it.
inline const std::string& ScratchDirectory() {
  static const std::string* const directory = [] {
    char pattern[] = "/tmp/tomtura-fuzz-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
      std::perror("mkdtemp");
      std::abort();
    }
    std::atexit([] {
      std::error_code ignored;
      std::filesystem::remove_all(ScratchDirectory(), ignored);
    });
    return new std::string(pattern);
  }();
  return *directory;
}

inline void WriteWholeFile(const std::string& path, std::string_view bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  Require(file != nullptr, "the scratch file can be created");
  Require(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size(),
          "the scratch file can be written");
  std::fclose(file);
}

// A game's records stay in range however it was reached: the player on turn is a player,
// tokens stand on the board, owners are players below `ownerLimit`, houses are 0..5.
inline void RequireStateInRange(const GameState& state, int ownerLimit) {
  Require(state.currentPlayer >= 0 && state.currentPlayer < state.playerCount,
          "the player on turn is a player");
  for (const Player& player : state.players) {
    Require(player.position >= 0 && player.position < kSquareCount, "a token stands on the board");
  }
  for (const Property& property : state.properties) {
    Require(property.owner >= kNobody && property.owner < ownerLimit, "an owner is a player");
    Require(property.houses >= 0 && property.houses <= kHotel, "houses stay 0..5");
  }
}

}  // namespace tomtura::fuzz
