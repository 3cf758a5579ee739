#pragma once
// The user's options, kept in section "LJUD" of the board file: read once when the main window
// is created, each written back as "1" or "0" the moment the user changes it.
#include <optional>
#include <string>
#include <string_view>

#include "data/game_state.h"
#include "data/ini_file.h"

namespace tomtura {

inline constexpr std::string_view kOptionsSection = "LJUD";
inline constexpr std::string_view kKeyFirstLap = "FirstLap";
inline constexpr std::string_view kKeySound = "Ljud";
inline constexpr std::string_view kKeyFlatButtons = "Flat";
inline constexpr std::string_view kKeyMusic = "Musik";
inline constexpr std::string_view kKeyShowCompanies = "VisaL";
inline constexpr std::string_view kKeyFastMoves = "Snabb";
inline constexpr std::string_view kKeySavePlayers = "SparaSpelare";
inline constexpr std::string_view kKeyAuction = "Auction";
inline constexpr std::string_view kKeyBackground = "Bakgrund";

inline constexpr std::string_view kKeyWindow = "Fonster";
inline constexpr std::string_view kKeyStretch = "Strack";
inline constexpr std::string_view kKeyGameLog = "Logg";

inline constexpr std::string_view kDefaultBackground = "Tomtura.bmp";
constexpr std::size_t kMaxBackgroundChars = 127;

// Every option is 1 (on) or 0 (off); any nonzero stored number counts as on.
struct Options {
  int firstLapRule = 1;                        // "FirstLap"
  int soundOn = 1;                             // "Ljud"
  int flatButtons = 1;                         // "Flat"
  int musicOn = 1;                             // "Musik"
  int showCompanies = 1;                       // "VisaL"
  int fastMoves = 0;                           // "Snabb"
  int savePlayers = 0;                         // "SparaSpelare"
  int auctionOn = 1;                           // "Auction"
  std::string background{kDefaultBackground};  // "Bakgrund", UTF-8
};

// The options of `file`, each missing key at its default.
Options ReadOptions(const IniFile& file);

// The options the rules read.
RuleSettings RuleSettingsOf(const Options& options);

// Writes one option key as "1" (nonzero) or "0". False when the file could not be written.
bool WriteOption(IniFile& file, std::string_view key, int value);

// Where the main window stood when the program last ended, and how it looked: "Fonster" is
// "x,y,width,height"; "Strack" and "Logg" are 1 or 0.
struct WindowPlace {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool stretched = false;
  bool gameLog = false;
  bool operator==(const WindowPlace&) const = default;
};

// The stored place; nullopt when there is none or it is not four numbers with a size of at
// least 100 x 100 (a first start, or a file edited by hand).
std::optional<WindowPlace> ReadWindowPlace(const IniFile& file);
bool WriteWindowPlace(IniFile& file, const WindowPlace& place);

// The board picture's file: "Bakgrund", at most 127 characters, default "Tomtura.bmp".
std::string ReadBackground(const IniFile& file);
bool WriteBackground(IniFile& file, std::string_view path);

}  // namespace tomtura
