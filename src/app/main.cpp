// Start-up: the edition and its language, the board file and its texts under the player's own
// file, the board picture, the fonts, the desktop's file association (from a build folder), the
// main window, and then either the saved game named on the command line or a new game with the
// players entered. `--port N` sets the port network games use, `--edition LANG` the edition.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLocale>
#include <QMessageBox>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <thread>
#include <vector>

#include "data/text_ids.h"
#include "rules/game.h"
#include "sound/sound.h"
#include "store/data_paths.h"
#include "store/editions.h"
#include "store/file_association.h"
#include "store/settings.h"
#include "ui/board_file_report.h"
#include "ui/board_picture.h"
#include "ui/fonts.h"
#include "ui/main_window.h"
#include "ui/network_play.h"
#include "ui/qt_front_end.h"
#include "ui/translation.h"

namespace {

using namespace tomtura;

constexpr int kExitUsage = 2;
constexpr int kExitBadBoardFile = 3;
constexpr int kMaxPort = 65535;

std::string ProgramPath() {
  return QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString();
}

QString FromLocal(const std::string& path) {
  return QFile::decodeName(QByteArray::fromStdString(path));
}

// The picture the player chose ("Bakgrund"; relative names lie beside the board file), else
// the edition's own board picture there.
bool LoadBoardPicture(BoardPicture& picture, const IniFile& file, const QDir& dataDirectory) {
  const QString named = QFile::decodeName(QByteArray::fromStdString(ReadBackground(file)));
  if (!named.isEmpty() && picture.Load(dataDirectory.filePath(named))) return true;
  return picture.Load(dataDirectory.filePath(FromLocal(EditionPicture(file))));
}

// Fills Qt's font database (fontconfig's list of every installed font) on a thread of its own
// from construction on; Wait, or the destructor, waits for it.
class FontDatabaseFiller {
 public:
  FontDatabaseFiller() : thread_([] { QFontDatabase::families(); }) {}
  ~FontDatabaseFiller() { Wait(); }
  FontDatabaseFiller(const FontDatabaseFiller&) = delete;
  FontDatabaseFiller& operator=(const FontDatabaseFiller&) = delete;
  void Wait() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::thread thread_;
};

// The command line: `--port N` (1..65535) and the saved game to open. False, with the reason
// printed, for a port that is not one.
struct CommandLine {
  std::optional<int> port;
  QString edition;
  QString savedGame;
};

bool ParseCommandLine(const QStringList& arguments, CommandLine& line) {
  QCommandLineParser parser;
  const QCommandLineOption port(QStringLiteral("port"),
                                QCoreApplication::translate("main", "Network games use port <n>."),
                                QStringLiteral("n"));
  parser.addOption(port);
  const QCommandLineOption edition(
      QStringLiteral("edition"),
      QCoreApplication::translate("main", "Play the edition of language <lang> (sv, en, ...)."),
      QStringLiteral("lang"));
  parser.addOption(edition);
  parser.addPositionalArgument(QStringLiteral("game"),
                               QCoreApplication::translate("main", "A saved game to open."));
  if (!parser.parse(arguments)) {
    std::fprintf(stderr, "tomtura: %s\n", qPrintable(parser.errorText()));
    return false;
  }
  if (parser.isSet(port)) {
    bool number = false;
    const int value = parser.value(port).toInt(&number);
    if (!number || value < 1 || value > kMaxPort) {
      std::fprintf(stderr, "tomtura: %s\n",
                   qPrintable(QCoreApplication::translate("main",
                                                          "--port needs a number from 1 "
                                                          "to 65535, not \"%1\"")
                                  .arg(parser.value(port))));
      return false;
    }
    line.port = value;
  }
  line.edition = parser.value(edition);
  line.savedGame = parser.positionalArguments().value(0);
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  // The music's synthesizer loads its sound font on OpenMP threads, which would otherwise spin
  // on the processors for a while after every piece it loads. Set before any thread starts.
  setenv("OMP_WAIT_POLICY", "PASSIVE", 0);
  QApplication app(argc, argv);
  QApplication::setApplicationName("Tomtura");
  // Matches the windows to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.tomtura.Tomtura"));
  // The font database, which every text needs, is filled on a thread of its own while the
  // edition, the player's file and the board picture are read.
  FontDatabaseFiller fontDatabase;
  CommandLine line;
  if (!ParseCommandLine(QCoreApplication::arguments(), line)) return kExitUsage;

  const auto seed = static_cast<std::uint64_t>(std::time(nullptr));
  const std::string dataPath = FindDataDirectory(ProgramPath());
  const QDir dataDirectory(FromLocal(dataPath));

  // The edition: the command line's, else the player's stored choice, else the desktop's
  // language. The player's own file holds his options over whichever edition he plays.
  std::vector<IniFile> editionFiles;
  const std::vector<Edition> editions = FindEditions(dataPath, &editionFiles);
  // Without a home folder there is no player's file, and changes are not kept.
  IniFile playerFile = IniFile::Load(PlayerFilePath());
  const std::string stored = playerFile.GetString(kOptionsSection, kKeyEdition, "");
  const Edition* edition = ChooseEdition(editions, line.edition.toStdString(), stored,
                                         QLocale::system().name().toStdString());
  if (edition == nullptr && !line.edition.isEmpty()) {
    QStringList known;
    for (const Edition& e : editions) known << QString::fromStdString(e.language);
    std::fprintf(stderr, "tomtura: %s\n",
                 qPrintable(QCoreApplication::translate("main", "no edition \"%1\"; there are: %2")
                                .arg(line.edition, known.join(QStringLiteral(", ")))));
    return kExitUsage;
  }
  const QString boardFile = edition ? FromLocal(edition->boardFile)
                                    : dataDirectory.filePath(QString::fromUtf8(
                                          kDataMarkerFile.data(), kDataMarkerFile.size()));
  InstallTranslations(edition ? QString::fromStdString(edition->language) : QString(),
                      dataDirectory.absolutePath());

  std::vector<StreetNames> editionNames = EditionStreetNames(editionFiles);
  QtFrontEnd ui;
  playerFile.SetBase(edition ? std::move(editionFiles[std::size_t(edition - editions.data())])
                             : IniFile::Load(QFile::encodeName(boardFile).toStdString()));
  Game game(TextCatalogue(std::move(playerFile)), ui, seed);
  game.editionStreetNames = std::move(editionNames);
  // A board file without its texts, streets or cards would start a game of nameless streets for
  // nothing: it is reported, and the program ends instead.
  const std::vector<MissingBoardPart> missing = MissingBoardParts(game.texts.file());
  BoardPicture picture;
  const bool pictureLoaded =
      missing.empty() && LoadBoardPicture(picture, game.texts.file(), dataDirectory);

  fontDatabase.Wait();
  QApplication::setFont(ControlFont());
  if (!missing.empty()) {
    QMessageBox::critical(nullptr, QApplication::applicationName(),
                          BoardFileReport(boardFile, missing));
    return kExitBadBoardFile;
  }
  if (!pictureLoaded) {
    QMessageBox::critical(nullptr, QString::fromStdString(game.Text(kTextBoxTitle)),
                          QString::fromStdString(game.Text(kTextPictureError)));
  }
  SmallFont();
  DialogFont();
  BoldFont();

  if (ShouldRegisterFileAssociation(ProgramPath()))
    RegisterFileAssociation(ProgramPath(), UserDataHome());

  SoundEffects sound(game.texts, dataDirectory.absolutePath());
  MainWindow window(game, ui, picture, sound, dataDirectory.absolutePath());
  if (line.port) window.network().SetPort(line.port);
  if (edition) window.SetEditions(editions, edition->language);

  // The window stands behind the first dialog, whichever it is (a password, the new game).
  window.RestorePlace();
  window.show();
  const bool loaded = !line.savedGame.isEmpty() && window.LoadGameFrom(line.savedGame);
  if (!loaded) {
    const MainWindow::NewGameChoice choice = window.RunNewGameDialog();
    if (choice == MainWindow::NewGameChoice::None) return 0;
    if (choice == MainWindow::NewGameChoice::Players) window.StartNewGame();
  }
  return QApplication::exec();
}
