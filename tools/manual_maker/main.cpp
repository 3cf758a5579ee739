// SPDX-License-Identifier: GPL-3.0-or-later
// manual_maker: writes the game's manual, one HTML page, from the rules and tips of the board
// file, so that the About box's link leads to the same words as the help windows. The page is
// in the edition's language and goes where the edition names it, beside the board file, unless
// --out says otherwise.
//
//   manual_maker [--board path/to/tomtura.lst] [--out path/to/manual.html]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>

#include "data/free_text.h"
#include "data/text_catalogue.h"
#include "data/text_ids.h"
#include "manual.h"
#include "store/editions.h"

int main(int argc, char** argv) {
  std::string boardPath = TOMTURA_ASSETS_DIR "/tomtura.lst";
  std::string outPath;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--board" && i + 1 < argc) {
      boardPath = argv[++i];
    } else if (arg == "--out" && i + 1 < argc) {
      outPath = argv[++i];
    } else {
      std::fprintf(stderr, "usage: manual_maker [--board tomtura.lst] [--out manual.html]\n");
      return 2;
    }
  }

  const std::optional<std::string> rules =
      tomtura::ReadFreeText(boardPath, tomtura::FreeTextBlock::kRules);
  const std::optional<std::string> tips =
      tomtura::ReadFreeText(boardPath, tomtura::FreeTextBlock::kTips);
  if (!rules || !tips) {
    std::fprintf(stderr, "cannot read %s\n", boardPath.c_str());
    return 1;
  }
  const tomtura::TextCatalogue catalogue = tomtura::TextCatalogue::Load(boardPath);
  if (outPath.empty()) {
    outPath = (std::filesystem::path(boardPath).parent_path() /
               tomtura::EditionManual(catalogue.file()))
                  .string();
  }
  const tomtura::ManualTexts texts{
      catalogue.file().GetString(tomtura::kEditionSection, tomtura::kKeyEditionLanguage, "sv"),
      catalogue.GetText(tomtura::kTextBoxTitle), catalogue.GetText(tomtura::kTextRules), *rules,
      catalogue.GetText(tomtura::kTextTips), *tips};
  const std::string html = tomtura::MakeManual(texts);

  std::ofstream out(outPath, std::ios::binary | std::ios::trunc);
  out << html;
  out.close();
  if (!out) {
    std::fprintf(stderr, "cannot write %s\n", outPath.c_str());
    return 1;
  }
  std::printf("wrote %s (%zu bytes)\n", outPath.c_str(), html.size());
  return 0;
}
