// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the main window's children stand: the player panel and the board view side by side
// below the button row, with a splitter between them. Plain functions of sizes, so that the
// rules of sharing the room and dragging are tested without a window.
#include <QRect>
#include <QSize>
#include <optional>

namespace tomtura {

inline constexpr int kChildTop = 42;
inline constexpr int kPanelLeft = 2;
inline constexpr int kSplitterWidth = 2;
inline constexpr int kChildBottomMargin = 25;  // the children end 25 px above the bottom
inline constexpr int kChildRightMargin = 2;
inline constexpr int kStatusHeight = 23;  // the status boxes stand in the bottom 23 pixels

// The two children that share the middle of the client area, in client coordinates.
struct ChildLayout {
  QRect panel;
  QRect board;
  bool operator==(const ChildLayout&) const = default;
};

// The room the children share, and what each would have: the board view `boardWanted` (the whole
// board, or the square of the height when stretched), the panel `panelWanted` (every player seen
// whole) and at least `panelLeast` (one column).
struct ChildNeeds {
  int boardWanted = 0;
  int panelWanted = 0;
  int panelLeast = 0;
};

// Where the children stand in a client area of `size`: the board is what a player looks at, so
// it has its room first; the panel has the rest up to what it wants, and gives way down to its
// least before the board does. Room beyond both goes to the board view. Both reach from below
// the button row to 25 pixels above the bottom.
ChildLayout ArrangeChildren(QSize size, const ChildNeeds& needs);
// The children after the splitter moved by `dx`; nullopt when either would fall below 2 pixels.
std::optional<ChildLayout> DragSplitter(const ChildLayout& layout, int dx);

// The strip of the status boxes at the bottom of a client area of `size`.
inline QRect StatusStrip(QSize size) {
  return {0, size.height() - kStatusHeight, size.width(), kStatusHeight};
}

// The key shortcut's command for a key (Qt::Key), or 0.
int ShortcutCommand(int key);
// The letter of a command's key shortcut ('S' for Roll), or 0 for a command without one.
char CommandLetter(int command);

}  // namespace tomtura
