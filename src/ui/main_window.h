#pragma once
// The main window: the row of seven command buttons with the dice between the first and the
// second, the player panel and the board view side by side with a 2-pixel splitter between
// them, and two status boxes along the bottom. It owns the menu, turns every menu item, button
// and key shortcut into one command handler, keeps the options and writes them to the board
// file, and asks before a running game is thrown away. Which command fits the moment is the
// core's to say (CheckCommand); the window carries out what it allows.
#include <QMainWindow>
#include <QMap>
#include <QRect>
#include <QSize>
#include <QString>
#include <memory>

#include "rules/commands.h"
#include "store/editions.h"
#include "store/settings.h"
#include "ui/main_layout.h"

class QAction;
class QMenu;
class QPainter;

namespace tomtura {

class BoardPicture;
class BoardView;
class CommandButton;
class Game;
class LogPane;
class MainClientArea;
class NetworkPlay;
class PlayerPanel;
class QtFrontEnd;
class SoundEffects;

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
  // end), the players entered (the caller starts the game), or a network game that has begun.
  enum class NewGameChoice { None, Players, NetworkGame };
  NewGameChoice RunNewGameDialog();
  // NewGame for the players entered, from the first square and scroll position.
  void StartNewGame();
  // Widens the panel until every player is seen whole, the window first where the screen has
  // room.
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
  QAction* action(int id) const { return actions_.value(id); }
  const Options& options() const { return options_; }
  // The network game, when one is set up or played.
  NetworkPlay& network() const { return *network_; }
  bool stretchBoard() const { return stretchBoard_; }
  ChildLayout childLayout() const;

 signals:
  // Every command as it arrives, before the phase decides whether it fits.
  void CommandReceived(int id);

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class MainClientArea;

  void CreateMenu();
  void ChooseEdition(const Edition& edition);
  void CreateChildren();
  void LoadOptions();
  void AfterFirstFrame();
  QAction* AddItem(QMenu* menu, int id, const char* text, bool checkable = false);
  void SetChecked(int id, bool on);
  // Flips an option, its check mark and its key in the board file.
  void ToggleOption(int id, int& option, std::string_view key);

  bool Confirm(int textNumber);
  void StopTimers();
  void NewGameCommand();
  void AddPlayerCommand();
  void SaveGameCommand();
  void LoadGameCommand();
  void LoadGraphics(bool ask);
  void ToggleShowCompanies(bool fromProgram);
  QString ChooseFile(bool save, int titleText, const QString& filter);
  void ShowTextWindow(bool rules);
  void ShowAbout();
  void SetStretch(bool on);
  void ShowGameLog(bool shown);
  int RoomToWiden(int wanted) const;
  int PanelWidth() const;
  void SavePlace();

  // Painting and mouse handling of the client area.
  void PaintClient(QPainter& painter, const QRect& dirty);
  void ClientResized(QSize size);
  void ClientMouseMove(QPoint pos);
  void ClientMousePress(QPoint pos);
  void ClientMouseRelease();
  bool OnSplitterStrip(const QRect& child, QPoint pos) const;
  void ApplyLayout(const ChildLayout& layout);
  QRect StatusRect() const;
  QRect DiceRect() const;

  Game& game_;
  QtFrontEnd& ui_;
  BoardPicture& picture_;
  SoundEffects& sound_;
  QString dataDirectory_;

  MainClientArea* client_ = nullptr;
  BoardView* boardView_ = nullptr;
  PlayerPanel* panel_ = nullptr;
  LogPane* logPane_ = nullptr;
  QMap<int, CommandButton*> buttons_;
  QMap<int, QAction*> actions_;
  QMenu* optionsMenu_ = nullptr;

  std::unique_ptr<NetworkPlay> network_;

  Options options_;  // as in memory; the rules' own options live in the game state
  bool stretchBoard_ = false;
  bool firstStretch_ = false;  // the screen is too low for the whole board at its size
  int logWidening_ = 0;        // what the window grew by for the open game log

  QSize lastSize_;
  bool overSplitter_ = false;
  bool splitterDrag_ = false;
  int lastMouseX_ = 0;
  int tumblingFrame_ = -1;  // the tumbling picture shown, -1 while the faces show
};

}  // namespace tomtura
