// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_layout.h"

#include <Qt>
#include <algorithm>

#include "rules/commands.h"

namespace tomtura {

namespace {

constexpr int kMinChildWidth = 2;

}  // namespace

ChildLayout ArrangeChildren(QSize size, const ChildNeeds& needs) {
  const int height = std::max(kMinChildWidth, size.height() - kChildTop - kChildBottomMargin);
  const int room = std::max(2 * kMinChildWidth,
                            size.width() - kPanelLeft - kSplitterWidth - kChildRightMargin);
  // The panel's share: what the board leaves of what it wants, at least its least.
  int panel = std::clamp(room - needs.boardWanted, needs.panelLeast,
                         std::max(needs.panelLeast, needs.panelWanted));
  panel = std::clamp(panel, kMinChildWidth, room - kMinChildWidth);
  const int board = room - panel;
  return {QRect(kPanelLeft, kChildTop, panel, height),
          QRect(kPanelLeft + panel + kSplitterWidth, kChildTop, board, height)};
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

char CommandLetter(int command) {
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (command != 0 && ShortcutCommand(Qt::Key_A + (letter - 'A')) == command) return letter;
  }
  return 0;
}

}  // namespace tomtura
