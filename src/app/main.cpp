// Start-up: the board file and its texts, the board picture, the fonts, the desktop's file
// association, the main window, and then either the saved game named on the command line or
// a new game with the players entered.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <ctime>

#include "rules/game.h"
#include "sound/sound.h"
#include "store/file_association.h"
#include "store/settings.h"
#include "ui/board_picture.h"
#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/qt_front_end.h"

namespace {

using namespace tomtura;

constexpr int kTitleText = 0;
constexpr int kPictureErrorText = 4;
constexpr const char* kDefaultPicture = "tomtura.bmp";

// The board file beside the program; a program run from its build directory without one uses
// the edition in the source tree.
QString FindBoardFile() {
  const QString besideProgram = QString::fromStdString(
      BoardFilePath(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString()));
  if (QFileInfo::exists(besideProgram)) return besideProgram;
  return QDir(QStringLiteral(TOMTURA_ASSETS_DIR)).filePath("tomtura.lst");
}

// The picture named by "Bakgrund" (relative names lie beside the board file), else the
// default picture there.
bool LoadBoardPicture(BoardPicture& picture, const IniFile& file, const QDir& dataDirectory) {
  const QString named = QFile::decodeName(QByteArray::fromStdString(ReadBackground(file)));
  if (!named.isEmpty() && picture.Load(dataDirectory.filePath(named))) return true;
  return picture.Load(dataDirectory.filePath(kDefaultPicture));
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tomtura");
  QApplication::setFont(ControlFont());

  const auto seed = static_cast<std::uint64_t>(std::time(nullptr));
  const QString boardFile = FindBoardFile();
  const QDir dataDirectory = QFileInfo(boardFile).absoluteDir();

  QtFrontEnd ui;
  Game game(TextCatalogue::Load(QFile::encodeName(boardFile).toStdString()), ui, seed);

  BoardPicture picture;
  if (!LoadBoardPicture(picture, game.texts.file(), dataDirectory)) {
    QMessageBox::critical(nullptr, QString::fromStdString(game.Text(kTitleText)),
                          QString::fromStdString(game.Text(kPictureErrorText)));
  }
  SmallFont();
  DialogFont();
  BoldFont();

  RegisterFileAssociation(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString(),
                          UserDataHome());

  SoundEffects sound(game.texts, dataDirectory.absolutePath());
  MainWindow window(game, ui, picture, sound, dataDirectory.absolutePath());

  const QStringList arguments = QCoreApplication::arguments();
  const bool loaded = arguments.size() > 1 && window.LoadGameFrom(arguments.at(1));
  if (!loaded) {
    if (!window.RunNewGameDialog()) return 0;
    window.StartNewGame();
  }
  window.show();
  return QApplication::exec();
}
