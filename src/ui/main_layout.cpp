#include "ui/main_layout.h"

#include <Qt>
#include <algorithm>

#include "rules/commands.h"

namespace tomtura {

namespace {

constexpr int kMinChildWidth = 2;
constexpr int kCreateBottomMargin = 65;  // at creation the children are H - 65 high

}  // namespace

ChildLayout InitialLayout(QSize size, int panelWidth) {
  const int height = size.height() - kCreateBottomMargin;
  return {QRect(kPanelLeft, kChildTop, panelWidth + 18, height),
          QRect(panelWidth + 22, kChildTop, size.width() - panelWidth - 24, height)};
}

ChildLayout ResizeLayout(const ChildLayout& layout, QSize last, QSize size, int panelWidth) {
  const int dx = last.width() - size.width();
  ChildLayout next = layout;
  if (dx < 0) {
    int grow = -dx;
    const int back = std::clamp(kPanelLeft - next.panel.left(), 0, grow);
    next.panel.moveLeft(next.panel.left() + back);
    grow -= back;
    const int widen = std::clamp(panelWidth - next.panel.width(), 0, grow);
    next.panel.setWidth(next.panel.width() + widen);
    grow -= widen;
    next.panel.setHeight(size.height() - next.panel.top() - kChildBottomMargin);
    next.board = QRect(next.panel.left() + next.panel.width() + kSplitterWidth, next.board.top(),
                       next.board.width() + grow,
                       size.height() - next.board.top() - kChildBottomMargin);
    return next;
  }

  int leftover = 0;
  if (next.board.width() > dx) {
    next.board.setWidth(next.board.width() - dx);
  } else {
    leftover = dx - (next.board.width() - kMinChildWidth);
    next.board.setWidth(kMinChildWidth);
  }
  next.board.moveLeft(next.board.left() - leftover);
  next.board.setHeight(size.height() - next.board.top() - kChildBottomMargin);

  if (next.panel.width() > leftover + kMinChildWidth) {
    next.panel.setWidth(next.panel.width() - leftover);
    leftover = 0;
  } else {
    leftover -= next.panel.width() - kMinChildWidth;
    next.panel.setWidth(kMinChildWidth);
  }
  next.panel.moveLeft(next.panel.left() - leftover);
  next.panel.setHeight(size.height() - next.panel.top() - kChildBottomMargin);
  return next;
}

std::optional<ChildLayout> DragSplitter(const ChildLayout& layout, int dx) {
  const int panelWidth = layout.panel.width() + dx;
  const int boardWidth = layout.board.width() - dx;
  if (panelWidth < kMinChildWidth || boardWidth < kMinChildWidth) return std::nullopt;
  ChildLayout next = layout;
  next.panel.setWidth(panelWidth);
  next.board = QRect(next.panel.left() + panelWidth + kSplitterWidth, layout.board.top(),
                     boardWidth, layout.board.height());
  return next;
}

int ShortcutCommand(int key) {
  switch (key) {
    case Qt::Key_S:
      return kCmdRoll;
    case Qt::Key_K:
      return kCmdBuyFrom;
    case Qt::Key_G:
      return kCmdSellTo;
    case Qt::Key_I:
      return kCmdMortgage;
    case Qt::Key_U:
      return kCmdUnmortgage;
    case Qt::Key_P:
      return kCmdBuyHouse;
    case Qt::Key_H:
      return kCmdSellHouse;
    case Qt::Key_T:
      return kCmdStatistics;
    default:
      return 0;
  }
}

}  // namespace tomtura
