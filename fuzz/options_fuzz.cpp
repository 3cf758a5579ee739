// libFuzzer target of what the board file keeps for the user: the options, the window's place,
// the background picture's name and the roster of players, read from the input as a board
// file; the new-game dialog's slots opened on it and driven by the commands of a last line
// ";N:<commands>"; and, for an input with that line, the roster, the window's place and the
// background written into a scratch copy of the file and read back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "data/game_state.h"
#include "data/ini_file.h"
#include "data/text_encoding.h"
#include "fuzz_support.h"
#include "store/new_game_slots.h"
#include "store/roster.h"
#include "store/settings.h"

namespace {

using tomtura::GameState;
using tomtura::IniFile;
using tomtura::NewGameSlots;
using tomtura::fuzz::Require;

// What the slots promise after every command.
void CheckSlots(const NewGameSlots& slots, const GameState& state) {
  Require(state.playerCount >= 0 && state.playerCount <= tomtura::kMaxPlayers,
          "the player count stays 0..6");
  Require(slots.editSlot() >= 0 && slots.editSlot() <= state.playerCount &&
              slots.editSlot() < tomtura::kMaxPlayers,
          "the shown slot is a player or the empty slot after them");
  const std::vector<int>& tokens = slots.tokens();
  std::vector<int> sorted = tokens;
  std::sort(sorted.begin(), sorted.end());
  Require(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end(),
          "the piece list offers each token once");
  for (const int token : tokens) {
    Require(token >= 0 && token < tomtura::kTokenCount, "a listed token is a picture");
    for (int i = 0; i < state.playerCount; ++i) {
      if (i == slots.editSlot()) continue;
      Require(state.players[i].token != token, "the list offers no other player's token");
    }
  }
  Require(tokens.empty() ? slots.selectedIndex() == -1
                         : slots.selectedIndex() >= 0 &&
                               slots.selectedIndex() < static_cast<int>(tokens.size()),
          "the selection lies in the list");
  if (slots.shownIsPlayer() && !tokens.empty()) {
    Require(tokens.front() == slots.shown().token, "the shown player's token is on top");
  }
}

void DriveSlots(const IniFile& file, std::string_view commands) {
  GameState state;
  NewGameSlots slots(state);
  slots.Open(file);
  CheckSlots(slots, state);
  for (std::size_t i = 0; i < commands.size(); ++i) {
    switch (commands[i]) {
      case 'n':
        slots.Next();
        break;
      case 'p':
        slots.Previous();
        break;
      case 'r':
        slots.Remove();
        break;
      case 'a':
        slots.Add("Åsa", "x1", false);
        break;
      case 'c':
        slots.Add("Dator", "", true);
        break;
      case 'e':
        slots.Add("", "", false);
        break;
      case 's':
        if (i + 1 < commands.size()) slots.SelectToken(commands[++i] - '0');
        break;
      default:
        break;
    }
    CheckSlots(slots, state);
  }
  slots.Restore();
  Require(state.playerCount == 0 && state.players == tomtura::PlayerTable{},
          "closing the dialog gives back the records it found");
}

void CheckRead(const IniFile& file) {
  const tomtura::Options options = tomtura::ReadOptions(file);
  for (const int flag :
       {options.firstLapRule, options.soundOn, options.flatButtons, options.musicOn,
        options.showCompanies, options.fastMoves, options.savePlayers, options.auctionOn}) {
    Require(flag == 0 || flag == 1, "an option is on or off");
  }
  Require(tomtura::IsValidUtf8(options.background), "the background's name is UTF-8");
  if (const auto place = tomtura::ReadWindowPlace(file)) {
    Require(place->width >= 100 && place->height >= 100, "a window place is at least 100 x 100");
  }
  GameState state;
  const int count = tomtura::ReadRoster(file, state);
  Require(count == state.playerCount && count >= 0 && count <= tomtura::kMaxPlayers,
          "the roster holds 0..6 players");
  for (int i = 0; i < count; ++i) {
    const tomtura::Player& player = state.players[i];
    Require(player.token >= 0 && player.token < tomtura::kTokenCount,
            "a roster token is a picture");
    Require(player.isComputer == 0 || player.isComputer == 1, "a roster player is here");
    Require(player.isComputer == 0 || player.password.empty(), "a computer has no password");
  }
}

// The roster, the window's place and the background written into the file and read back.
void CheckWrites(std::string_view fileBytes) {
  const std::string path = tomtura::fuzz::ScratchDirectory() + "/tomtura.lst";
  tomtura::fuzz::WriteWholeFile(path, fileBytes);
  IniFile file = IniFile::Load(path);
  GameState roster;
  tomtura::ReadRoster(file, roster);
  Require(tomtura::WriteRoster(file, roster), "a roster can be written");
  GameState reread;
  tomtura::ReadRoster(IniFile::Load(path), reread);
  Require(reread.playerCount == roster.playerCount, "a written roster reads back its players");
  for (int i = 0; i < roster.playerCount; ++i) {
    const tomtura::Player& was = roster.players[i];
    const tomtura::Player& is = reread.players[i];
    Require(is.token == was.token && is.isComputer == was.isComputer && is.name == was.name,
            "a written roster reads back each player");
    // A password the line cannot carry is written empty.
    Require(is.password == was.password || is.password.empty(),
            "a written roster reads back each password");
  }

  const tomtura::WindowPlace place{-3, 7, 800, 600, true, false};
  Require(tomtura::WriteWindowPlace(file, place), "a window place can be written");
  Require(tomtura::ReadWindowPlace(IniFile::Load(path)) == place,
          "a written window place reads back");
  const std::string background = "bilder/Höst  .bmp";
  Require(tomtura::WriteBackground(file, background), "a background can be written");
  const bool cp1252 = !tomtura::IsValidUtf8(file.Serialize());
  Require(tomtura::ReadBackground(IniFile::Load(path)) ==
              (cp1252 ? tomtura::Cp1252ToUtf8(tomtura::Utf8ToCp1252(background)) : background),
          "a written background reads back");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto [fileBytes, commands] = tomtura::fuzz::SplitCommand(input, "\n;N:");
  const IniFile file = IniFile::Parse(fileBytes);
  CheckRead(file);
  DriveSlots(file, commands.data() == nullptr ? std::string_view("aancrpps3anrr") : commands);
  // Writes replace the file on disk, flushed: only inputs with a command line pay for them.
  if (commands.data() != nullptr) CheckWrites(fileBytes);
  return 0;
}
