// board_painter: draws the game's sheet (the board and every small picture) from the board
// file's property names and prices, checks the layout, and writes it as a 24-bit BMP; and draws
// the program's icon in each of its sizes as PNG files.
//
//   board_painter [--board path/to/tomtura.lst] [--out path/to/tomtura.bmp]
//                 [--icons path/to/icons]
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <QTextStream>
#include <string>

#include "bitmap_writer.h"
#include "board_art.h"
#include "icon_art.h"
#include "data/text_catalogue.h"
#include "painting.h"
#include "sheet_layout.h"
#include "sprite_art.h"
#include "ui/board_picture.h"
#include "ui/program_icon.h"

namespace {

constexpr int kChanceHeading = 53;
constexpr int kCommunityHeading = 54;

QTextStream& Err() {
  static QTextStream stream(stderr);
  return stream;
}

QString CatalogueText(const tomtura::TextCatalogue& catalogue, int number,
                      const QString& fallback) {
  const std::string text = catalogue.GetText(number);
  if (text.empty() || text == tomtura::kMissingText) return fallback;
  return QString::fromStdString(text);
}

tomtura::BoardTexts ReadBoardTexts(const QString& path) {
  const tomtura::TextCatalogue catalogue = tomtura::TextCatalogue::Load(path.toStdString());
  tomtura::BoardTexts texts;
  catalogue.LoadPropertyTable(texts.table);
  for (int p = 0; p < tomtura::kBoardPropertyCount; ++p) {
    if (texts.table[p].name.empty()) {
      Err() << "warning: property " << p + 1 << " has no name in " << path << "\n";
      texts.table[p].name.setUtf8("Tomt " + std::to_string(p + 1));
    }
  }
  texts.chance = CatalogueText(catalogue, kChanceHeading, "CHANS");
  texts.community = CatalogueText(catalogue, kCommunityHeading, "ALLMÄNNING");
  return texts;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  QString boardPath = QStringLiteral(TOMTURA_ASSETS_DIR "/tomtura.lst");
  QString outPath = QStringLiteral(TOMTURA_ASSETS_DIR "/tomtura.bmp");
  QString iconDir = QStringLiteral(TOMTURA_ASSETS_DIR "/icons");
  const QStringList args = QCoreApplication::arguments();
  for (int i = 1; i < args.size(); ++i) {
    if (args[i] == "--board" && i + 1 < args.size()) {
      boardPath = args[++i];
    } else if (args[i] == "--out" && i + 1 < args.size()) {
      outPath = args[++i];
    } else if (args[i] == "--icons" && i + 1 < args.size()) {
      iconDir = args[++i];
    } else {
      Err() << "usage: board_painter [--board tomtura.lst] [--out tomtura.bmp] [--icons dir]\n";
      return 2;
    }
  }

  const QStringList problems = tomtura::LayoutProblems(
      tomtura::SheetRegions(), QRect(0, 0, tomtura::kSheetWidth, tomtura::kSheetHeight));
  for (const QString& problem : problems) Err() << "layout: " << problem << "\n";
  if (!problems.isEmpty()) return 1;

  const tomtura::BoardTexts texts = ReadBoardTexts(boardPath);
  QImage sheet(tomtura::kSheetWidth, tomtura::kSheetHeight, QImage::Format_RGB32);
  sheet.fill(tomtura::palette::kSquare);
  {
    QPainter p(&sheet);
    tomtura::PaintBoard(p, texts);
  }
  tomtura::PaintSprites(sheet);

  if (!tomtura::WriteBitmap24(sheet, outPath)) {
    Err() << "cannot write " << outPath << "\n";
    return 1;
  }
  // The game must read back exactly what was drawn.
  const auto written = tomtura::BoardPicture::LoadBitmapFile(outPath);
  if (!written || *written != sheet) {
    Err() << outPath << " does not read back as drawn\n";
    return 1;
  }
  QTextStream(stdout) << "wrote " << outPath << " (" << sheet.width() << " x " << sheet.height()
                      << ")\n";

  // The icon files lie in icons/ beside the board file, as the game looks for them.
  const QDir icons(iconDir);
  if (!QDir().mkpath(iconDir)) {
    Err() << "cannot make " << iconDir << "\n";
    return 1;
  }
  for (const int size : tomtura::kProgramIconSizes) {
    const QString path = icons.filePath(QFileInfo(tomtura::ProgramIconFile(size)).fileName());
    if (!tomtura::PaintProgramIcon(size).save(path, "PNG")) {
      Err() << "cannot write " << path << "\n";
      return 1;
    }
  }
  QTextStream(stdout) << "wrote " << tomtura::kProgramIconSizes.size() << " icons in " << iconDir
                      << "\n";
  return 0;
}
