// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The editions of the board beside the program: each a board file that names its language and
// its name, and the choice of the one to play. Also where the player's own file lives, the one
// that holds his options and roster over whichever edition he plays.
#include <string>
#include <string_view>
#include <vector>

#include "data/game_state.h"

namespace tomtura {

class IniFile;

inline constexpr std::string_view kEditionSection = "EDITION";
inline constexpr std::string_view kKeyEditionLanguage = "Language";
inline constexpr std::string_view kKeyEditionName = "Name";
// The board picture drawn in the edition's words, a file beside its board file.
inline constexpr std::string_view kKeyEditionPicture = "Picture";
// The manual in the edition's language, a web page beside its board file.
inline constexpr std::string_view kKeyEditionManual = "Manual";
// The player's chosen edition, by language, in his own file's options.
inline constexpr std::string_view kKeyEdition = "Utgava";

struct Edition {
  std::string language;   // as Qt's translation files name it: "sv", "en"
  std::string name;       // as the menu shows it: "Svenska", "English"
  std::string boardFile;  // full path
  bool operator==(const Edition&) const = default;
};

// The editions in `dataDirectory`: "tomtura.lst" and each "tomtura_<language>.lst", in the
// order of their languages. A file without an "EDITION" section is the language its name says
// ("sv" for "tomtura.lst"); two files of one language give the first by name. With
// `boardFiles`, each edition's board file as read is added there in the same order, so that the
// one played need not be read again.
std::vector<Edition> FindEditions(const std::string& dataDirectory,
                                  std::vector<IniFile>* boardFiles = nullptr);

// The edition to play: the one `requested` (the command line) when given, else the player's
// `stored` choice, else the one of the desktop's language (`desktopLocale` such as "sv_SE"),
// else English, else the first. Null only when there is none, or when `requested` names one
// that does not exist.
const Edition* ChooseEdition(const std::vector<Edition>& editions, std::string_view requested,
                             std::string_view stored, std::string_view desktopLocale);

// The street names of each edition's board file, from the files FindEditions read, in its order.
std::vector<StreetNames> EditionStreetNames(const std::vector<IniFile>& boardFiles);

// The file name of the board picture that `boardFile` names, "tomtura.bmp" when it names none.
std::string EditionPicture(const IniFile& boardFile);
// The file name of the manual that `boardFile` names, "manual.html" when it names none.
std::string EditionManual(const IniFile& boardFile);

// The player's own board file: "$XDG_CONFIG_HOME/tomtura/tomtura.lst", or under
// "$HOME/.config" when XDG_CONFIG_HOME is unset or not an absolute path; empty when neither is
// known.
std::string PlayerFilePath();

}  // namespace tomtura
