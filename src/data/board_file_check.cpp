#include "data/board_file_check.h"

#include <string>
#include <string_view>

#include "data/game_state.h"
#include "data/text_catalogue.h"

namespace tomtura {
namespace {

constexpr std::string_view kBlanks = " \t";

// A street needs at least its name: the value up to its first comma, not blank. The property
// table keeps a name only up to a NUL byte, so the name ends there too.
bool HasName(const std::string& value) {
  const std::size_t end = value.find_first_of(std::string_view(",\0", 2));
  const std::string_view name = std::string_view(value).substr(0, end);
  return name.find_first_not_of(kBlanks) != std::string_view::npos;
}

}  // namespace

std::vector<MissingBoardPart> MissingBoardParts(const IniFile& file) {
  if (!file.ok()) return {{BoardFilePart::File, {}}};
  std::vector<MissingBoardPart> missing;
  if (!file.HasKeys(kTextsSection)) missing.push_back({BoardFilePart::Texts, {}});
  std::vector<int> streets;
  for (int key = 1; key <= kPropertyCount; ++key) {
    const auto value = file.Get(kPropertySection, std::to_string(key));
    if (!value || !HasName(*value)) streets.push_back(key);
  }
  if (!streets.empty()) missing.push_back({BoardFilePart::Streets, streets});
  if (!file.HasKeys(kChanceSection)) missing.push_back({BoardFilePart::ChanceCards, {}});
  if (!file.HasKeys(kCommunitySection)) missing.push_back({BoardFilePart::CommunityCards, {}});
  return missing;
}

}  // namespace tomtura
