#pragma once
// What a board file lacks for a game to be played on it. Without its numbered texts, its
// streets or its card decks the game would offer nameless streets for nothing, so the program
// checks the file before it starts and refuses one that falls short.
#include <vector>

#include "data/ini_file.h"

namespace tomtura {

// The parts of the board file a game cannot do without.
enum class BoardFilePart {
  File,            // the file itself: missing or unreadable (nothing else is then listed)
  Texts,           // section "TEXTS", the numbered texts
  Streets,         // entries of section "GATOR" that are missing or have no name
  ChanceCards,     // section "CHANS"
  CommunityCards,  // section "ALLM"
};

struct MissingBoardPart {
  BoardFilePart part;
  std::vector<int> keys;  // Streets: the keys (1..30) that are missing or nameless
  bool operator==(const MissingBoardPart&) const = default;
};

// What `file` lacks, in the order of the parts above; empty when a game can be played on it.
std::vector<MissingBoardPart> MissingBoardParts(const IniFile& file);

}  // namespace tomtura
