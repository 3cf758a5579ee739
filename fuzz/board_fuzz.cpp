// libFuzzer target of the board file as the game reads it: the INI reader, the numbered texts
// and their formatting with the arguments the game passes, the cards and sound names, the two
// free-text blocks, the board file check, and one write through the INI writer into a scratch
// file. The input is the file; a last line ";W:section|key|value" names the write (without
// it nothing is written).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "data/board_file_check.h"
#include "data/format.h"
#include "data/free_text.h"
#include "data/ini_file.h"
#include "data/text_catalogue.h"
#include "data/text_encoding.h"
#include "fuzz_support.h"

namespace {

using tomtura::IniFile;
using tomtura::fuzz::Require;

constexpr std::string_view kBlanks = " \t\v\f";
constexpr int kHighestText = 200;
constexpr std::size_t kMaxProbes = 256;

std::string_view Trim(std::string_view s) {
  const std::size_t first = s.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return lower(x) == lower(y);
  });
}

std::size_t CountChars(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<std::uint8_t>(c) & 0xC0) != 0x80;
  }));
}

// Section and key names the file seems to hold, found by a rough scan of its lines: lookups of
// them must answer the same before and after a write of another key.
std::vector<std::pair<std::string, std::string>> ProbeNames(std::string_view text) {
  std::vector<std::pair<std::string, std::string>> probes;
  std::string section;
  std::size_t pos = 0;
  while (pos < text.size() && probes.size() < kMaxProbes) {
    std::size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = Trim(text.substr(pos, end - pos));
    pos = end + 1;
    if (line.starts_with('[')) {
      section = std::string(Trim(line.substr(1, line.find(']') - 1)));
    } else if (const std::size_t eq = line.find('='); eq != std::string_view::npos) {
      probes.emplace_back(section, std::string(Trim(line.substr(0, eq))));
    }
  }
  return probes;
}

// Every text in the shapes of arguments the game formats them with: names and amounts.
void FormatTexts(const tomtura::TextCatalogue& texts) {
  const std::string name = "Kvarnbacken";
  const std::string player = "Åsa";
  // A text of at most 511 bytes holds at most 255 conversions, each held to 256 columns.
  constexpr std::size_t kMaxFormatted = 511 * 256 + 4096;
  for (int n = 0; n <= kHighestText; ++n) {
    const std::string text = texts.GetText(n);
    Require(text.size() <= tomtura::kMaxTextBytes, "a text holds at most 511 bytes");
    Require(tomtura::IsValidUtf8(text), "a text is UTF-8");
    Require(text.find('|') == std::string::npos, "'|' becomes a line feed");
    // The fallback of a missing text is formatted like any other once, not 200 times.
    if (!texts.HasText(n) && text == tomtura::kMissingText && n != kHighestText) continue;
    // Two of the shapes per text, varied by its number: all seven would triple the time.
    std::string formatted;
    for (const int shape : {n % 7, (n + 3) % 7}) {
      switch (shape) {
        case 0:
          formatted = tomtura::FormatText(text, player);
          break;
        case 1:
          formatted = tomtura::FormatText(text, player, 1500);
          break;
        case 2:
          formatted = tomtura::FormatText(text, player, name, 250);
          break;
        case 3:
          formatted = tomtura::FormatText(text, name, 3600, 1800, 1000);
          break;
        case 4:
          formatted = tomtura::FormatText(text, player, name, 3, 25500);
          break;
        case 5:
          formatted = tomtura::FormatText(text, 60, 340, 950, 2500, 3500, 4500);
          break;
        default:
          formatted = tomtura::FormatText(text, -2147483647 - 1);
          break;
      }
      Require(formatted.size() <= kMaxFormatted, "formatting stays within its widths");
    }
  }
}

void ReadCardsAndSounds(const tomtura::TextCatalogue& texts) {
  for (const bool chance : {true, false}) {
    for (int card = 0; card <= 17; ++card) {
      Require(tomtura::IsValidUtf8(texts.GetCard(chance, card)), "a card is UTF-8");
    }
  }
  for (int n = 0; n < 10; ++n) {
    const std::string sound = texts.GetSoundName(n);
    Require(CountChars(sound) <= 24, "a sound name holds at most 24 characters");
  }
}

void ReadFreeTexts(std::string_view fileBytes) {
  for (const auto block : {tomtura::FreeTextBlock::kTips, tomtura::FreeTextBlock::kRules}) {
    const std::string text = tomtura::ExtractFreeText(fileBytes, block);
    Require(tomtura::IsValidUtf8(text), "a free text is UTF-8");
    Require(text.empty() || text.back() == '\n', "every piece ends its line");
    Require(text.find('\0') == std::string::npos, "no NUL in a free text");
    // Counted as the one-byte text: characters, CR LF per line, the terminating zero.
    std::size_t counted = 1;
    std::size_t start = 0;
    while (start < text.size()) {
      const std::size_t end = text.find('\n', start);
      const std::string_view line = std::string_view(text).substr(start, end - start);
      Require(CountChars(line) <= tomtura::kFreeTextPieceChars, "a piece holds 255 characters");
      Require(line != tomtura::kTipsMarker && line != tomtura::kRulesMarker,
              "a block ends before a marker");
      counted += CountChars(line) + 2;
      start = end + 1;
    }
    Require(counted <= tomtura::kMaxFreeTextBytes, "a block fits in 16000 bytes");
  }
}

void CheckBoard(const IniFile& ini) {
  const std::vector<tomtura::MissingBoardPart> missing = tomtura::MissingBoardParts(ini);
  tomtura::PropertyTable table{};
  tomtura::TextCatalogue(ini).LoadPropertyTable(table);
  std::vector<int> nameless;
  for (const tomtura::MissingBoardPart& part : missing) {
    if (part.part == tomtura::BoardFilePart::Streets) nameless = part.keys;
  }
  Require(std::is_sorted(nameless.begin(), nameless.end()), "streets are listed in order");
  for (int key = 1; key <= tomtura::kPropertyCount; ++key) {
    const bool listed = std::binary_search(nameless.begin(), nameless.end(), key);
    // A board that passes the check gives every street a name to show.
    if (!listed) Require(!table[key - 1].name.empty(), "a street that passes has a name");
  }
}

bool FitsOnOneLine(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
         tomtura::IsValidUtf8(s);
}

void WriteOneKey(std::string_view fileBytes, std::string_view command) {
  std::string_view rest = command;
  const std::string section(tomtura::fuzz::NextField(rest));
  const std::string key(tomtura::fuzz::NextField(rest));
  const std::string value(rest);
  const std::string path = tomtura::fuzz::ScratchDirectory() + "/tomtura.lst";
  tomtura::fuzz::WriteWholeFile(path, fileBytes);
  IniFile ini = IniFile::Load(path);
  Require(ini.ok() && ini.Serialize() == fileBytes, "a file loads as its bytes");

  const auto probes = ProbeNames(ini.Serialize());
  std::vector<std::optional<std::string>> before;
  for (const auto& [s, k] : probes) before.push_back(ini.Get(s, k));

  const bool writable = FitsOnOneLine(section) && !section.empty() && Trim(section) == section &&
                        section.find(']') == std::string::npos && FitsOnOneLine(key) &&
                        !key.empty() && Trim(key) == key && key.find('=') == std::string::npos &&
                        key.front() != '[' && key.front() != ';' && FitsOnOneLine(value);
  const bool written = ini.Write(section, key, value);
  Require(written == writable, "a write of names that fit on a line succeeds");
  if (!written) return;

  // Whatever the file's encoding, the key reads back exactly (a Windows-1252 file becomes UTF-8
  // rather than lose a character), and every other key reads as before.
  Require(ini.Get(section, key) == value, "the written key reads back");
  const std::string after = ini.Serialize();
  for (std::size_t i = 0; i < probes.size(); ++i) {
    const auto& [s, k] = probes[i];
    if (SameName(s, section) && SameName(k, key)) continue;
    Require(ini.Get(s, k) == before[i], "a write leaves every other key as it was");
  }
  const IniFile reread = IniFile::Load(path);
  Require(reread.Serialize() == after, "the file holds what memory holds");
  Require(reread.Get(section, key) == ini.Get(section, key), "the file reads as memory does");
  for (const auto& [s, k] : probes) {
    Require(reread.Get(s, k) == ini.Get(s, k), "the file reads as memory does");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const auto [fileBytes, command] = tomtura::fuzz::SplitCommand(input, "\n;W:");

  const IniFile ini = IniFile::Parse(fileBytes);
  Require(ini.Serialize() == fileBytes, "parsing keeps every byte");
  const IniFile again = IniFile::Parse(ini.Serialize());
  for (const auto& [s, k] : ProbeNames(fileBytes)) {
    Require(again.Get(s, k) == ini.Get(s, k), "a serialised file reads the same");
  }

  const tomtura::TextCatalogue texts(ini);
  FormatTexts(texts);
  ReadCardsAndSounds(texts);
  ReadFreeTexts(fileBytes);
  CheckBoard(ini);
  // A write replaces the file on disk, flushed: only inputs that name one pay for it.
  if (command.data() != nullptr) WriteOneKey(fileBytes, command);
  return 0;
}
