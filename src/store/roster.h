#pragma once
// The roster: the players of the last game, kept as keys "1".."6" of section "LJUD" so that the
// new-game dialog can offer them again. Each line is "token,password,isComputer,name" with the
// password scrambled by a one-byte key; an Easy or Hard computer player's "1" is followed by
// "E" or "H" (older readers take the first character only, so they see a Normal computer).
#include <string>
#include <string_view>

#include "data/game_state.h"
#include "data/ini_file.h"

namespace tomtura {

// XOR key of the roster's passwords. Below 0x20, so printable ASCII stays printable and no
// character of a typed password becomes a NUL or a line break.
constexpr char kRosterKey = 0x04;
constexpr std::size_t kRosterLineChars = 40;

// The password's bytes XORed with kRosterKey (the same call unscrambles).
std::string ScramblePassword(std::string_view password);

// The roster line of player `index`, or "" for a record at or beyond playerCount. A scrambled
// password that the line cannot carry (a comma, a control byte, a byte Windows-1252 leaves
// undefined) is written empty.
std::string RosterLine(const GameState& state, int index);

// Writes keys "1".."6" of "LJUD". Callers write only while the option "SparaSpelare" is on.
// False when a write failed.
bool WriteRoster(IniFile& file, const GameState& state);

// Reads keys "1".."6" into the player records (token, password, isComputer, strength, name)
// until an empty or incomplete line; playerCount becomes the number of complete lines, which is
// returned.
int ReadRoster(const IniFile& file, GameState& state);

// The new-game dialog offers the roster when "SparaSpelare" is on and record 0 has no name.
bool RosterOffered(const IniFile& file, const GameState& state);

}  // namespace tomtura
