// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window_layout.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <cstdint>
#include <optional>

#include "rules/commands.h"
#include "rules/game.h"
#include "store/settings.h"
#include "ui/board_picture.h"
#include "ui/board_view.h"
#include "ui/log_pane.h"
#include "ui/main_menu.h"
#include "ui/player_panel.h"

namespace tomtura {

namespace {

constexpr int kMinClientSize = 40;
// The board fits beside the panel when the window opens, within most of the screen.
constexpr double kInitialScreenShare = 0.9;
constexpr int kLogPaneWidth = 220;
constexpr int kLogPaneLeast = 140;  // the game log gives way down to this width
constexpr int kMinStretchedBoard = 300;
constexpr int kFirstPanelWidth = 2 * kPanelColumnWidth;
constexpr int kChildMargins = kPanelLeft + kSplitterWidth + kChildRightMargin;

}  // namespace

WindowLayout::WindowLayout(QMainWindow& window, Game& game, MainMenu& menu)
    : window_(window), game_(game), menu_(menu) {}

QSize WindowLayout::FirstSize(QWidget& client) {
  constexpr int kChrome = kChildTop + kChildBottomMargin;
  const int menuHeight = window_.menuBar()->sizeHint().height();
  QSize size(kFirstPanelWidth + kChildMargins + kBoardSize + 4, kBoardSize + 4 + kChrome);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect screenArea = screen->availableGeometry();
    const QSize available = screenArea.size() * kInitialScreenShare - QSize(0, menuHeight);
    if (size.height() > available.height()) {
      const int side = std::max(kMinStretchedBoard, available.height() - kChrome);
      size = QSize(kFirstPanelWidth + kChildMargins + side, side + kChrome);
      firstStretch_ = true;
    }
    size = size.boundedTo(available);
    // In the middle of the screen, so that it can grow to either side.
    window_.move(screenArea.left() + (screenArea.width() - size.width()) / 2,
                 screenArea.top() + (screenArea.height() - size.height() - menuHeight) / 2);
  }
  client.resize(size);
  window_.resize(size + QSize(0, menuHeight));
  return size;
}

void WindowLayout::Attach(QWidget& client, PlayerPanel& panel, BoardView& board, LogPane& log) {
  client_ = &client;
  panel_ = &panel;
  board_ = &board;
  log_ = &log;
  Relayout();
}

ChildLayout WindowLayout::children() const {
  return {panel_->geometry(), board_->geometry()};
}

void WindowLayout::Apply(const ChildLayout& layout) {
  panel_->setGeometry(layout.panel);
  board_->setGeometry(layout.board);
}

ChildNeeds WindowLayout::Needs(QSize client) const {
  const int height = client.height() - kChildTop - kChildBottomMargin;
  ChildNeeds needs;
  needs.boardWanted = stretchBoard_ ? height : kBoardSize + 2 * board_->frameWidth();
  needs.panelWanted = panel_->ColumnsNeeded(height - 2 * panel_->frameWidth()) * kPanelColumnWidth;
  needs.panelLeast = kPanelColumnWidth;
  return needs;
}

void WindowLayout::Relayout() {
  if (panel_ == nullptr) return;
  Apply(ArrangeChildren(client_->size(), Needs(client_->size())));
  client_->update();
}

void WindowLayout::ClientResized(QSize size) {
  if (panel_ == nullptr) return;
  if (size.width() < kMinClientSize || size.height() < kMinClientSize) return;
  Apply(ArrangeChildren(size, Needs(size)));
  client_->update();
}

void WindowLayout::WindowResized() {
  if (log_ == nullptr || log_->isHidden()) return;
  // The log gives way before the board: it keeps what the board and the panel's least leave.
  const ChildNeeds needs = Needs(client_->size());
  const int besideLog = window_.width() - client_->width() - log_->width();
  const int room =
      window_.width() - besideLog - kChildMargins - needs.boardWanted - needs.panelLeast;
  const int width = std::clamp(room, kLogPaneLeast, kLogPaneWidth);
  if (width != log_->width()) window_.resizeDocks({log_}, {width}, Qt::Horizontal);
}

bool WindowLayout::OnSplitterStrip(const QRect& child, QPoint pos) const {
  const int right = child.left() + child.width();
  return pos.x() >= right && pos.x() < right + kSplitterWidth && pos.y() >= child.top();
}

void WindowLayout::MouseMove(QPoint pos) {
  if (!splitterDrag_) {
    if (OnSplitterStrip(panel_->geometry(), pos)) {
      client_->setCursor(Qt::SizeHorCursor);
      overSplitter_ = true;
    } else {
      client_->unsetCursor();
    }
    return;
  }
  const int x = static_cast<std::int16_t>(pos.x());
  if (const auto next = DragSplitter(children(), x - lastMouseX_)) {
    Apply(*next);
    client_->setCursor(Qt::SizeHorCursor);
    client_->update(StatusStrip(client_->size()));
    lastMouseX_ = std::max(x, 0);
  }
}

void WindowLayout::MousePress(QPoint pos) {
  lastMouseX_ = pos.x();
  if (OnSplitterStrip(panel_->geometry(), pos) || OnSplitterStrip(board_->geometry(), pos)) {
    splitterDrag_ = overSplitter_;
    if (splitterDrag_) client_->setCursor(Qt::SizeHorCursor);
  }
}

void WindowLayout::SetStretch(bool on) {
  stretchBoard_ = on;
  menu_.SetChecked(kCmdStretch, on);
  board_->SetStretched(on);
  Relayout();
  BoardView* board = board_;
  QMetaObject::invokeMethod(
      board, [board] { board->CentreOnCurrentPlayer(); }, Qt::QueuedConnection);
}

// How much wider the window can grow on its screen, up to `wanted`: the room to its right, and
// to its left, where it moves.
int WindowLayout::RoomToWiden(int wanted) const {
  if (window_.isMaximized() || window_.isFullScreen()) return 0;
  const QScreen* screen = window_.screen();
  if (screen == nullptr) return 0;
  const int width = window_.isVisible() ? window_.frameGeometry().width() : window_.width();
  return std::clamp(screen->availableGeometry().width() - width, 0, wanted);
}

// Widens the window by `by` to both sides, as far as its screen's edges let it.
void WindowLayout::Widen(int by) {
  if (by <= 0) return;
  window_.resize(window_.width() + by, window_.height());
  const QScreen* screen = window_.screen();
  if (screen == nullptr) return;
  const QRect area = screen->availableGeometry();
  const QRect frame = window_.isVisible() ? window_.frameGeometry() : window_.geometry();
  int left = frame.left() - by / 2;
  left = std::max(area.left(), std::min(left, area.right() + 1 - frame.width()));
  window_.move(window_.x() + left - frame.left(), window_.y());
}

void WindowLayout::ShowGameLog(bool shown) {
  if (shown == !log_->isHidden()) return;
  if (shown) {
    logWidening_ = RoomToWiden(kLogPaneWidth +
                               window_.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent));
    Widen(logWidening_);
    log_->show();
    window_.resizeDocks({log_}, {kLogPaneWidth}, Qt::Horizontal);
    WindowResized();
  } else {
    log_->hide();
    if (logWidening_ > 0) window_.resize(window_.width() - logWidening_, window_.height());
    logWidening_ = 0;
  }
  menu_.SetChecked(kCmdGameLog, shown);
}

// A game whose players the panel does not show whole, or a board that does not have its room,
// widens the window where the screen has room; what it cannot give, the panel gives up.
void WindowLayout::FitPanelToPlayers() {
  const ChildNeeds needs = Needs(client_->size());
  const int wanted = kChildMargins + needs.panelWanted + needs.boardWanted;
  Widen(RoomToWiden(wanted - client_->width()));
  Relayout();
}

void WindowLayout::RestorePlace() {
  const std::optional<WindowPlace> place = ReadWindowPlace(game_.texts.file());
  if (!place) {
    if (firstStretch_) SetStretch(true);
    return;
  }
  QRect rect(place->x, place->y, place->width, place->height);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect available = screen->availableGeometry();
    rect.setSize(rect.size().boundedTo(available.size()));
    // Never off the screen: a window that was on a screen no longer there comes back.
    if (!available.intersects(rect)) rect.moveTopLeft(available.topLeft());
  }
  window_.move(rect.topLeft());
  window_.resize(rect.size());
  if (place->stretched) SetStretch(true);
  if (place->gameLog) ShowGameLog(true);
}

void WindowLayout::SavePlace() {
  const QRect frame =
      window_.normalGeometry().isValid() ? window_.normalGeometry() : window_.geometry();
  // The width without the log's widening: the log widens the window again when it comes back.
  const WindowPlace place{frame.x(),      frame.y(),     frame.width() - logWidening_,
                          frame.height(), stretchBoard_, !log_->isHidden()};
  WriteWindowPlace(game_.texts.file(), place);
}

}  // namespace tomtura
