// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window's client area: it paints the background, the dice and the two status boxes
// (the player on turn below the panel, the status line below the board), holds the command
// buttons and both children, and hands the splitter's mouse to the window's layout.
#include <QRect>
#include <QWidget>
#include <functional>

namespace tomtura {

class BoardPicture;
class Game;
class WindowLayout;

class MainClientArea : public QWidget {
 public:
  MainClientArea(const Game& game, const BoardPicture& picture, WindowLayout& layout,
                 QWidget* parent);

  // The dice as the game shows them: tumbling while they roll, else their faces.
  void RedrawDice();
  void RedrawStatusLine();
  // The throw is given up: the faces show again.
  void StopTumbling() { tumblingFrame_ = -1; }
  // What waits for the window's first frame (the icon, the sound).
  void OnFirstFrame(std::function<void()> then) { afterFirstFrame_ = std::move(then); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Paint(QPainter& painter, const QRect& dirty);
  static QRect DiceRect();

  const Game& game_;
  const BoardPicture& picture_;
  WindowLayout& layout_;
  bool painted_ = false;
  int tumblingFrame_ = -1;
  std::function<void()> afterFirstFrame_;  // the tumbling picture shown, -1 while the faces show
};

}  // namespace tomtura
