// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the main window's children stand: the player panel and the board view side by side
// below the button row, with a splitter between them. Plain functions of sizes, so that the
// rules of resizing and dragging are tested without a window.
#include <QRect>
#include <QSize>
#include <optional>

namespace tomtura {

inline constexpr int kChildTop = 42;
inline constexpr int kPanelLeft = 2;
inline constexpr int kSplitterWidth = 2;
inline constexpr int kChildBottomMargin =
    25;                                   // after a resize: children end 25 px above the bottom
inline constexpr int kStatusHeight = 23;  // the status boxes stand in the bottom 23 pixels

// The two children that share the middle of the client area, in client coordinates.
struct ChildLayout {
  QRect panel;
  QRect board;
  bool operator==(const ChildLayout&) const = default;
};

// Where the children stand when the client area is first `size`: the panel 18 pixels wider
// than its content (`panelWidth`), the board view beside it up to 2 pixels from the right.
ChildLayout InitialLayout(QSize size, int panelWidth);
// The children after the client area changed from `last` to `size`: a narrower area is taken
// from the board view first, down to 2 pixels, and only what it cannot take from the panel; a
// wider one gives the panel back its place and up to `panelWidth` first, then widens the board.
// Both reach down to 25 pixels above the bottom.
ChildLayout ResizeLayout(const ChildLayout& layout, QSize last, QSize size, int panelWidth);
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
