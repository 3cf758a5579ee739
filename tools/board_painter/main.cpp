// board_painter: draws an edition's sheet (the board and every small picture) in the words of
// its board file, its property names, prices and money, checks the layout, and writes it as a
// 24-bit BMP, by default the picture the board file names beside it; and draws the program's
// icon in each of its sizes as PNG files.
//
//   board_painter [--board path/to/tomtura.lst] [--out path/to/tomtura.bmp]
//                 [--icons path/to/icons]
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QStringList>
#include <QTextStream>
#include <string>

#include "bitmap_writer.h"
#include "data/ini_file.h"
#include "edition_sheet.h"
#include "icon_art.h"
#include "sheet_layout.h"
#include "store/editions.h"
#include "ui/board_picture.h"
#include "ui/program_icon.h"

namespace {

QTextStream& Err() {
  static QTextStream stream(stderr);
  return stream;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);

  QString boardPath = QStringLiteral(TOMTURA_ASSETS_DIR "/tomtura.lst");
  QString outPath;
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

  if (outPath.isEmpty()) {
    const tomtura::IniFile board = tomtura::IniFile::Load(boardPath.toStdString());
    outPath =
        QFileInfo(boardPath).dir().filePath(QString::fromStdString(tomtura::EditionPicture(board)));
  }
  QStringList warnings;
  const tomtura::BoardTexts texts = tomtura::ReadBoardTexts(boardPath, &warnings);
  for (const QString& warning : warnings) Err() << "warning: " << warning << "\n";
  const QImage sheet = tomtura::PaintSheet(texts);

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
