#include "edition_sheet.h"

#include <string>

#include "data/text_catalogue.h"
#include "painting.h"
#include "sheet_layout.h"
#include "sprite_art.h"
#include "store/editions.h"
#include "ui/board_picture.h"

namespace tomtura {

namespace {

constexpr int kChanceHeading = 53;
constexpr int kCommunityHeading = 54;

// The board's own words in the board file's edition section.
struct EditionWord {
  const char* key;
  QString BoardTexts::*word;
};
constexpr EditionWord kEditionWords[] = {
    {"Start", &BoardTexts::start},         {"Visiting", &BoardTexts::visiting},
    {"Jail", &BoardTexts::jail},           {"QuietCorner", &BoardTexts::quietCorner},
    {"ToJail", &BoardTexts::toJail},       {"Tax", &BoardTexts::tax},
    {"Money", &BoardTexts::money},         {"ThousandsSeparator", &BoardTexts::thousandsSeparator},
    {"MoneySign", &BoardTexts::moneySign},
};

}  // namespace

BoardTexts ReadBoardTexts(const QString& path, QStringList* warnings) {
  const auto warn = [&](const QString& warning) {
    if (warnings != nullptr) warnings->append(warning);
  };
  const TextCatalogue catalogue = TextCatalogue::Load(path.toStdString());
  BoardTexts texts;
  catalogue.LoadPropertyTable(texts.table);
  for (int p = 0; p < kBoardPropertyCount; ++p) {
    if (texts.table[p].name.empty()) {
      warn(QString("property %1 has no name in %2").arg(p + 1).arg(path));
      texts.table[p].name.setUtf8("Tomt " + std::to_string(p + 1));
    }
  }
  for (const auto& [number, heading] : {std::pair(kChanceHeading, &BoardTexts::chance),
                                        std::pair(kCommunityHeading, &BoardTexts::community)}) {
    const std::string text = catalogue.GetText(number);
    if (text.empty() || text == kMissingText) {
      warn(QString("text %1 is missing in %2").arg(number).arg(path));
    } else {
      texts.*heading = QString::fromStdString(text);
    }
  }
  const IniFile& ini = catalogue.file();
  for (const EditionWord& entry : kEditionWords) {
    const auto value = ini.Get(kEditionSection, entry.key);
    if (!value) {
      warn(QString("%1 has no %2 in its edition section").arg(path, entry.key));
    } else {
      texts.*entry.word = QString::fromStdString(*value);
    }
  }
  // An amount shows in the place of its one "%s".
  if (texts.money.count("%s") != 1) {
    warn(QString("the money format of %1 needs one %s: %2").arg(path, texts.money));
    texts.money = BoardTexts().money;
  }
  return texts;
}

QImage PaintSheet(const BoardTexts& texts) {
  QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
  sheet.fill(palette::kSquare);
  {
    QPainter p(&sheet);
    PaintBoard(p, texts);
  }
  PaintSprites(sheet, texts.moneySign);
  return sheet;
}

}  // namespace tomtura
