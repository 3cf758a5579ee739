// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/editions.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "data/ini_file.h"
#include "data/text_catalogue.h"

namespace tomtura {
namespace {

constexpr std::string_view kDefaultBoardFile = "tomtura.lst";
constexpr std::string_view kEditionPrefix = "tomtura_";
constexpr std::string_view kBoardFileSuffix = ".lst";
constexpr std::string_view kDefaultLanguage = "sv";
constexpr std::string_view kFallbackLanguage = "en";
constexpr std::string_view kDefaultPicture = "tomtura.bmp";
constexpr std::string_view kDefaultManual = "manual.html";

// The language a board file's name gives: "sv" for "tomtura.lst", "en" for "tomtura_en.lst";
// empty for any other name.
std::string LanguageOfFileName(std::string_view name) {
  if (name == kDefaultBoardFile) return std::string(kDefaultLanguage);
  if (!name.starts_with(kEditionPrefix) || !name.ends_with(kBoardFileSuffix)) return {};
  name.remove_prefix(kEditionPrefix.size());
  name.remove_suffix(kBoardFileSuffix.size());
  return std::string(name);
}

}  // namespace

std::vector<Edition> FindEditions(const std::string& dataDirectory,
                                  std::vector<IniFile>* boardFiles) {
  namespace fs = std::filesystem;
  std::vector<fs::path> files;
  std::error_code error;
  for (fs::directory_iterator it(dataDirectory, error), end; !error && it != end;
       it.increment(error)) {
    if (!LanguageOfFileName(it->path().filename().string()).empty()) files.push_back(it->path());
  }
  std::sort(files.begin(), files.end());

  std::vector<std::pair<Edition, IniFile>> found;
  for (const fs::path& file : files) {
    IniFile ini = IniFile::Load(file.string());
    if (!ini.ok()) continue;
    Edition edition;
    edition.language = ini.GetString(kEditionSection, kKeyEditionLanguage,
                                     LanguageOfFileName(file.filename().string()));
    edition.name = ini.GetString(kEditionSection, kKeyEditionName, edition.language);
    edition.boardFile = file.string();
    const bool known = std::any_of(found.begin(), found.end(), [&](const auto& e) {
      return e.first.language == edition.language;
    });
    if (!edition.language.empty() && !known) found.emplace_back(std::move(edition), std::move(ini));
  }
  std::sort(found.begin(), found.end(),
            [](const auto& a, const auto& b) { return a.first.language < b.first.language; });
  std::vector<Edition> editions;
  for (auto& [edition, ini] : found) {
    editions.push_back(std::move(edition));
    if (boardFiles != nullptr) boardFiles->push_back(std::move(ini));
  }
  return editions;
}

const Edition* ChooseEdition(const std::vector<Edition>& editions, std::string_view requested,
                             std::string_view stored, std::string_view desktopLocale) {
  const auto find = [&](std::string_view language) -> const Edition* {
    for (const Edition& edition : editions) {
      if (!language.empty() && edition.language == language) return &edition;
    }
    return nullptr;
  };
  if (!requested.empty()) return find(requested);
  if (const Edition* edition = find(stored)) return edition;
  if (const Edition* edition = find(desktopLocale.substr(0, desktopLocale.find_first_of("_.@"))))
    return edition;
  if (const Edition* edition = find(kFallbackLanguage)) return edition;
  return editions.empty() ? nullptr : &editions.front();
}

std::vector<StreetNames> EditionStreetNames(const std::vector<IniFile>& boardFiles) {
  std::vector<StreetNames> names;
  for (const IniFile& file : boardFiles) names.push_back(BoardStreetNames(file));
  return names;
}

std::string EditionPicture(const IniFile& boardFile) {
  const std::string picture = boardFile.GetString(kEditionSection, kKeyEditionPicture, "");
  return picture.empty() ? std::string(kDefaultPicture) : picture;
}

std::string EditionManual(const IniFile& boardFile) {
  const std::string manual = boardFile.GetString(kEditionSection, kKeyEditionManual, "");
  return manual.empty() ? std::string(kDefaultManual) : manual;
}

std::string PlayerFilePath() {
  namespace fs = std::filesystem;
  fs::path folder;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const char* home = std::getenv("HOME");
  if (config != nullptr && fs::path(config).is_absolute()) {
    folder = config;
  } else if (home != nullptr && fs::path(home).is_absolute()) {
    folder = fs::path(home) / ".config";
  } else {
    return {};
  }
  return (folder / "tomtura" / kDefaultBoardFile).string();
}

}  // namespace tomtura
