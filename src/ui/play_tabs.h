#pragma once
// The play window's column of tabs: six tabs, one per page, of equal height; the selected one
// reaches into its page. Choosing a tab (mouse, arrows, Home, End) asks the window to select
// the page; the window says which is current.
#include <QRect>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>

#include "ui/play_style.h"

namespace tomtura {

class Game;

class PageTabs : public QWidget {
 public:
  // `select` is called with a page other than the current one.
  PageTabs(Game& game, std::function<void(int)> select, QWidget* parent);

  void SetCurrent(int page);
  int itemHeight() const { return height() / kPageCount; }
  QRect ItemRect(int i) const { return QRect(0, i * itemHeight(), width(), itemHeight()); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void Choose(int i);

  std::array<QString, kPageCount> texts_;
  int current_ = 0;
  std::function<void(int)> select_;
};

}  // namespace tomtura
