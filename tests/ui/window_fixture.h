#pragma once
// The main window on a private copy of the default board file, in a real Qt event loop
// (offscreen): message boxes answered with `answer`, file dialogs with `chosenFile` (empty:
// cancelled); the game's own dialogs are cancelled, or handed to `playDialog` when the test
// plays them itself.
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/ini_file.h"
#include "net/session.h"
#include "rules/game.h"
#include "sound/sound.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/main_window.h"
#include "ui/network_dialogs.h"
#include "ui/new_game_dialog.h"
#include "ui/qt_front_end.h"

namespace tomtura {

// A dialog, a sound or a peer still awaited after this long is stuck.
inline constexpr int kGiveUpMs = 20000;

// The milliseconds `action` took.
inline qint64 MsTaken(const std::function<void()>& action) {
  QElapsedTimer timer;
  timer.start();
  action();
  return timer.elapsed();
}

// The whole of the file at `path`; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Whether `bytes` were all written to the file at `path`.
inline bool WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The control `id` of `window`; a control that is missing ends the test program at once.
template <typename T = QWidget>
T* Control(const QWidget* window, int id) {
  T* control = FindControl<T>(window, id);
  if (control == nullptr) qFatal("control %d missing", id);
  return control;
}

struct Harness {
  QTemporaryDir dir;
  QString boardFile;
  QtFrontEnd ui;
  std::unique_ptr<Game> game;
  BoardPicture picture;
  std::unique_ptr<SoundEffects> sound;
  std::unique_ptr<MainWindow> window;
  QStringList shown;   // texts of the message boxes, in order
  QStringList titles;  // and their titles
  QList<QMessageBox::Icon> icons;
  QList<QMessageBox::StandardButtons> buttons;  // and the buttons they offered
  QMessageBox::StandardButton answer = QMessageBox::Ok;
  QString chosenFile;
  QString fileDialogFolder;  // where the last file dialog opened
  std::function<int(QDialog&)> playDialog;

  // On a private copy of `sourceBoard`, the Swedish edition unless named, with
  // `extraBoardText` appended.
  explicit Harness(const QByteArray& extraBoardText = {}, std::uint64_t seed = 7,
                   const QString& sourceBoard = QStringLiteral(TOMTURA_ASSETS_DIR "/tomtura.lst")) {
    boardFile = dir.filePath("tomtura.lst");
    WriteFile(boardFile, FileBytes(sourceBoard) + extraBoardText);

    game = std::make_unique<Game>(TextCatalogue::Load(boardFile.toStdString()), ui, seed);
    QImage sheet(kSheetWidth, kSheetHeight, QImage::Format_RGB32);
    sheet.fill(0xFF808080);
    picture.SetSheet(sheet);
    sound = std::make_unique<SoundEffects>(game->texts, dir.path());
    ui.SetModalRunner([this](QDialog& dialog) { return Answer(dialog); });
    window = std::make_unique<MainWindow>(*game, ui, picture, *sound, dir.path());
  }

  int Answer(QDialog& dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
      shown << box->text();
      titles << box->windowTitle();
      icons << box->icon();
      buttons << box->standardButtons();
      return answer;
    }
    if (auto* files = qobject_cast<QFileDialog*>(&dialog)) {
      fileDialogFolder = files->directory().absolutePath();
      if (chosenFile.isEmpty()) return QDialog::Rejected;
      files->selectFile(chosenFile);
      return QDialog::Accepted;
    }
    return playDialog ? playDialog(dialog) : int(QDialog::Rejected);
  }

  void SetPlayers(std::initializer_list<int> isComputer) {
    GameState& state = game->state;
    int i = 0;
    for (int computer : isComputer) {
      state.players[i].name.setUtf8("P" + std::to_string(i + 1));
      state.players[i].isComputer = static_cast<std::int16_t>(computer);
      state.players[i].token = static_cast<std::int16_t>(i);
      ++i;
    }
    state.playerCount = i;
  }

  // A new game of persons (0) and computer players (1); the window shown and active when `shown`.
  bool Start(std::initializer_list<int> isComputer, bool shown = false) {
    SetPlayers(isComputer);
    window->StartNewGame();
    if (!shown) return true;
    window->show();
    return QTest::qWaitForWindowActive(window.get());
  }

  void ForgetBoxes() {
    shown.clear();
    titles.clear();
    icons.clear();
    buttons.clear();
  }

  QString Text(int n) const { return QString::fromStdString(game->Text(n)); }
  QString StoredOption(const char* key) const {
    return QString::fromStdString(
        IniFile::Load(boardFile.toStdString()).GetString("LJUD", key, "missing"));
  }
};

// A session's link that keeps what the session sends and has nothing to read.
struct RecordingLink : NetSession::Link {
  std::vector<std::vector<std::uint8_t>> sent;
  void Send(ConnectionId, std::vector<std::uint8_t> bytes) override {
    sent.push_back(std::move(bytes));
  }
  void Close(ConnectionId) override {}
  bool WaitForInput() override { return false; }
};

// The new-game dialog's Network..., then Host or Join in the choice that follows; -1 for any other
// dialog.
inline int ChooseNetwork(QDialog& dialog, bool host) {
  if (auto* newGame = dynamic_cast<NewGameDialog*>(&dialog)) {
    newGame->Network();
    return newGame->result();
  }
  auto* choice = qobject_cast<NetworkDialog*>(&dialog);
  if (choice == nullptr) return -1;
  host ? choice->Host() : choice->Join();
  return choice->result();
}

}  // namespace tomtura
