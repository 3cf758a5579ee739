// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the main window and its children stand: the first size, the player panel and the board
// view side by side with the splitter between them (the board having its room first), the window
// widened for the players and the game log, the stretched board, and the window's place
// remembered from one run to the next. The rules of sharing the room and dragging are the plain
// functions of main_layout.h; this class applies them to the widgets.
#include <QPoint>
#include <QSize>

#include "ui/main_layout.h"

class QMainWindow;
class QWidget;

namespace tomtura {

class BoardView;
class Game;
class LogPane;
class MainMenu;
class PlayerPanel;

class WindowLayout {
 public:
  WindowLayout(QMainWindow& window, Game& game, MainMenu& menu);

  // The client area's first size: the whole board beside a panel of two columns, where four
  // players are seen whole; on a screen too low for the board it is stretched to the height
  // there is. The window is resized to it, in the middle of the screen.
  QSize FirstSize(QWidget& client);
  // The children laid out in the client area; from then on they follow it.
  void Attach(QWidget& client, PlayerPanel& panel, BoardView& board, LogPane& log);

  ChildLayout children() const;
  void Apply(const ChildLayout& layout);
  // The children shared out anew: after a change of the client area, the stretch, the players
  // or the panel's sections.
  void Relayout();
  // The client area changed its size.
  void ClientResized(QSize size);
  // The window changed its size: the game log gives way to the board first.
  void WindowResized();

  // The splitter between panel and board, dragged with the left button.
  void MouseMove(QPoint pos);
  void MousePress(QPoint pos);
  void EndDrag() { splitterDrag_ = false; }

  bool stretched() const { return stretchBoard_; }
  void SetStretch(bool on);
  // The game log opens beside the board: the window widens for it where the screen has room,
  // and narrows again when the log closes, so that the board keeps its room.
  void ShowGameLog(bool shown);
  // Widens the window, where the screen has room, until the board has its room and every player
  // is seen whole; what the screen cannot give, the panel gives up first.
  void FitPanelToPlayers();

  // The window as it stood when the program last ended (place, size, stretched board, game
  // log); at a first start the board is stretched when the screen is too low for it.
  void RestorePlace();
  void SavePlace();

 private:
  ChildNeeds Needs(QSize client) const;
  int RoomToWiden(int wanted) const;
  void Widen(int by);
  bool OnSplitterStrip(const QRect& child, QPoint pos) const;

  QMainWindow& window_;
  Game& game_;
  MainMenu& menu_;
  QWidget* client_ = nullptr;
  PlayerPanel* panel_ = nullptr;
  BoardView* board_ = nullptr;
  LogPane* log_ = nullptr;

  bool stretchBoard_ = false;
  bool firstStretch_ = false;  // the screen is too low for the whole board at its size
  int logWidening_ = 0;        // what the window grew by for the open game log
  bool overSplitter_ = false;
  bool splitterDrag_ = false;
  int lastMouseX_ = 0;
};

}  // namespace tomtura
