// SPDX-License-Identifier: GPL-3.0-or-later
#include "data/text_catalogue.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

#include "data/text_encoding.h"

namespace tomtura {
namespace {

constexpr std::string_view kSoundSection = "SOUND";
constexpr std::string_view kBoardFileName = "tomtura.lst";
constexpr char kContinuationSuffix = '_';
constexpr char kLineBreakMark = '|';

constexpr std::size_t kMaxPropertyValueChars = 255;
constexpr std::size_t kMaxSoundNameChars = 24;
constexpr int kPropertyFields = 10;

// The first `maxChars` characters of a UTF-8 text.
std::string_view CutChars(std::string_view utf8, std::size_t maxChars) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const bool startsChar = (static_cast<std::uint8_t>(utf8[i]) & 0xC0) != 0x80;
    if (startsChar && chars++ == maxChars) return utf8.substr(0, i);
  }
  return utf8;
}

// A 16-bit field keeps the low 16 bits of the number, as a store into a short does.
std::int16_t ToInt16(int n) {
  return static_cast<std::int16_t>(static_cast<std::uint16_t>(n));
}
std::uint16_t ToUint16(int n) {
  return static_cast<std::uint16_t>(n);
}

// The property definitions of `file`, keys "1".."30" of "GATOR"; `defined` marks those present.
void ReadProperties(const IniFile& file, PropertyTable& table,
                    std::array<bool, kPropertyCount>* defined) {
  for (int i = 1; i <= kPropertyCount; ++i) {
    const std::optional<std::string> value = file.Get(kPropertySection, std::to_string(i));
    if (!value || value->empty()) continue;
    if (defined != nullptr) (*defined)[static_cast<std::size_t>(i - 1)] = true;

    // The record holds Windows-1252, one byte per character, so the fields are cut there.
    const std::string bytes = Utf8ToCp1252(*value).substr(0, kMaxPropertyValueChars);
    std::string_view rest = bytes;
    std::string_view fields[kPropertyFields];
    for (std::string_view& field : fields) {
      const std::size_t comma = rest.find(',');
      field = rest.substr(0, comma);
      rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }

    Property& entry = table[i - 1];
    entry.name.setRaw(fields[0]);
    entry.price = ToInt16(ParseInt(fields[1]));
    entry.housePrice = ToInt16(ParseInt(fields[2]));
    for (std::size_t r = 0; r < entry.rent.size(); ++r)
      entry.rent[r] = ToUint16(ParseInt(fields[3 + r]));
    entry.group = ToInt16(ParseInt(fields[9]));
  }
}

}  // namespace

TextCatalogue::TextCatalogue(IniFile file)
    : file_(std::move(file)), money_(MoneyFormat::Of(file_)) {
  auto read = std::make_shared<ReadOnce>();
  read->revision = file_.revision();
  for (int n = 0; n < ReadOnce::kTexts; ++n) {
    read->text[static_cast<std::size_t>(n)] = ReadText(n);
    read->hasText[static_cast<std::size_t>(n)] =
        file_.Get(kTextsSection, std::to_string(n)).has_value();
  }
  ReadProperties(file_, read->properties, &read->defined);
  read_ = std::move(read);
}

TextCatalogue TextCatalogue::Load(const std::string& path) {
  return TextCatalogue(IniFile::Load(path));
}

std::string TextCatalogue::GetText(int number) const {
  const ReadOnce* read = Read();
  if (read != nullptr && number >= 0 && number < ReadOnce::kTexts) {
    return read->text[static_cast<std::size_t>(number)];
  }
  return ReadText(number);
}

std::string TextCatalogue::ReadText(int number) const {
  const std::string key = std::to_string(number);
  std::string text = file_.GetString(kTextsSection, key, kMissingText);
  text += file_.GetString(kTextsSection, key + kContinuationSuffix, "");
  text.resize(CutUtf8(text, kMaxTextBytes).size());
  std::replace(text.begin(), text.end(), kLineBreakMark, '\n');
  return money_.GroupAmounts(std::move(text));
}

bool TextCatalogue::HasText(int number) const {
  const ReadOnce* read = Read();
  if (read != nullptr && number >= 0 && number < ReadOnce::kTexts) {
    return read->hasText[static_cast<std::size_t>(number)];
  }
  return file_.Get(kTextsSection, std::to_string(number)).has_value();
}

std::string TextCatalogue::GetCard(bool chance, int number) const {
  return money_.GroupAmounts(file_.GetString(chance ? kChanceSection : kCommunitySection,
                                             std::to_string(number), kMissingCard));
}

std::string TextCatalogue::GetSoundName(int n) const {
  const std::optional<std::string> name = file_.Get(kSoundSection, std::to_string(n));
  if (!name) return "tomtura" + std::to_string(n) + ".wav";
  return std::string(CutChars(*name, kMaxSoundNameChars));
}

void TextCatalogue::LoadPropertyTable(PropertyTable& table) const {
  const ReadOnce* once = Read();
  if (once == nullptr) {
    ReadProperties(file_, table, nullptr);
    return;
  }
  for (std::size_t p = 0; p < table.size(); ++p) {
    if (!once->defined[p]) continue;
    const Property& read = once->properties[p];
    Property& entry = table[p];
    entry.name = read.name;
    entry.price = read.price;
    entry.housePrice = read.housePrice;
    entry.rent = read.rent;
    entry.group = read.group;
  }
}

StreetNames BoardStreetNames(const IniFile& file) {
  PropertyTable table{};
  ReadProperties(file, table, nullptr);
  return StreetNamesOf(table);
}

std::string BoardFilePath(const std::string& programPath) {
  const std::size_t slash = programPath.rfind('/');
  if (slash == std::string::npos) return std::string(kBoardFileName);
  return programPath.substr(0, slash + 1) + std::string(kBoardFileName);
}

}  // namespace tomtura
