// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's files: saved games and the board picture, each chosen in a file dialog that
// opens in the player's documents folder, never in the program's. What is read is handed back
// for the window to put in place.
#include <QObject>
#include <QString>
#include <optional>

#include "store/saved_game.h"

class QWidget;

namespace tomtura {

class BoardPicture;
class Game;
class QtFrontEnd;

class GameFiles : public QObject {
  Q_OBJECT

 public:
  // `window` owns the dialogs; `dataDirectory` holds the edition's board picture.
  GameFiles(Game& game, QtFrontEnd& ui, QWidget& window, QString dataDirectory);

  // Save game...: writes the game to the file chosen, asking first before the name with its
  // extension added replaces a saved game; a written game has no unsaved progress.
  void Save();
  // Load game...: the file chosen, empty when none was.
  QString ChooseSavedGame();
  // The saved game at `path`; nullopt when it could not be read (a file that is not a saved
  // game has been reported).
  std::optional<SavedGame> Read(const QString& path);

  enum class Background { Unchanged, Declined, Changed };
  // "Load background..." (`ask`) takes a picture chosen in a dialog, "Default background" the
  // edition's own. A picture that cannot be read changes nothing; one of another size is used
  // only when the player says so. A picture put in place is stored as the player's choice.
  Background ChangeBackground(bool ask, BoardPicture& picture);

 private:
  QString ChooseFile(bool save, int titleText, const QString& filter);

  Game& game_;
  QtFrontEnd& ui_;
  QWidget& window_;
  QString dataDirectory_;
};

}  // namespace tomtura
