// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window: the row of seven command buttons with the dice between the first and the
// second, the player panel and the board view side by side with a 2-pixel splitter between
// them, and two status boxes along the bottom. It owns the menu, turns every menu item, button
// and key shortcut into one command handler, keeps the options and writes them to the board
// file, and asks before a running game is thrown away. Which command fits the moment is the
// core's to say (CheckCommand); the window carries out what it allows.
#include <QMainWindow>
#include <QMap>
#include <QString>
#include <memory>

#include "rules/commands.h"
#include "store/editions.h"
#include "store/settings.h"
#include "ui/main_layout.h"

class QAction;

namespace tomtura {

class BoardPicture;
class BoardView;
class CommandButton;
class Game;
class GameFiles;
class LogPane;
class MainClientArea;
class MainMenu;
class NetworkPlay;
class PlayerPanel;
class QtFrontEnd;
class SoundEffects;
class WindowLayout;
class WindowOptions;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // `dataDirectory` is where the board file lies; the default board picture is looked for
  // there.
  MainWindow(Game& game, QtFrontEnd& ui, BoardPicture& picture, SoundEffects& sound,
             QString dataDirectory, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The editions the Options menu offers, and the one being played. A choice is stored in the
  // player's file and takes effect when the program starts again, which it offers to do.
  void SetEditions(const std::vector<Edition>& editions, const std::string& current);

  // Every command, from the menu, a button, a key or the program itself. `fromProgram` marks
  // the start-up's own use of a toggle, which then stores nothing.
  void OnCommand(int id, bool fromProgram = false);

  // Start-up: loads the saved game at `path`; false when it could not be loaded (a file that
  // is not a saved game has been reported).
  bool LoadGameFrom(const QString& path);
  // What the new-game dialog came to: no game (closed without players, or the program is to
  // end), the players entered (the caller starts the game), a network game that has begun, or
  // a saved game opened in its place.
  enum class NewGameChoice { None, Players, NetworkGame, Opened };
  NewGameChoice RunNewGameDialog();
  // NewGame for the players entered, from the first square and scroll position.
  void StartNewGame();
  // Widens the window where the screen has room until the board has its room and every player
  // is seen whole; beyond it the panel gives way.
  void FitPanelToPlayers();
  // The window as it stood when the program last ended (place, size, stretched board, game
  // log); at a first start the board is stretched when the screen is too low for it.
  void RestorePlace();

  // ---- Redraws asked for by the rules ----
  void RedrawDice();
  void RedrawStatusLine();
  void RedrawPanel();
  void RedrawBoard();
  void TokenStepped(int fromX, int fromY);
  void CentreOnCurrentPlayer();
  void FocusRollButton();
  void UpdateMenus();
  void RefreshLog();
  // The statistics window; offered (asked first) when a game has ended.
  void ShowStatistics();
  void OfferStatistics();

  // ---- Parts, for the front end and tests ----
  BoardView& boardView() const { return *boardView_; }
  PlayerPanel& playerPanel() const { return *panel_; }
  QWidget& clientArea() const;
  LogPane& logPane() const { return *logPane_; }
  BoardPicture& picture() const { return picture_; }
  CommandButton* commandButton(int id) const;
  QAction* action(int id) const;
  const Options& options() const;
  // The network game, when one is set up or played.
  NetworkPlay& network() const { return *network_; }
  bool stretchBoard() const;
  ChildLayout childLayout() const;

 signals:
  // Every command as it arrives, before the phase decides whether it fits.
  void CommandReceived(int id);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateChildren();
  void LoadOptions();
  void AfterFirstFrame();
  // The effect on the screen and the sound of an option just toggled.
  void ApplyOption(int id);

  bool Confirm(int textNumber);
  void StopTimers();
  void NewGameCommand();
  void AddPlayerCommand();
  void LoadGameCommand();
  void ChangeBackground(bool ask);
  void ShowTextWindow(bool rules);
  void ShowAbout();

  Game& game_;
  QtFrontEnd& ui_;
  BoardPicture& picture_;
  SoundEffects& sound_;
  QString dataDirectory_;

  std::unique_ptr<MainMenu> menu_;
  std::unique_ptr<WindowOptions> options_;
  std::unique_ptr<WindowLayout> layout_;
  GameFiles* files_ = nullptr;
  MainClientArea* client_ = nullptr;
  BoardView* boardView_ = nullptr;
  PlayerPanel* panel_ = nullptr;
  LogPane* logPane_ = nullptr;
  QMap<int, CommandButton*> buttons_;

  std::unique_ptr<NetworkPlay> network_;
};

}  // namespace tomtura
