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
constexpr int kMinStretchedBoard = 300;
constexpr int kFirstPanelWidth = 2 * kPanelColumnWidth;

}  // namespace

WindowLayout::WindowLayout(QMainWindow& window, Game& game, MainMenu& menu)
    : window_(window), game_(game), menu_(menu) {}

QSize WindowLayout::FirstSize(QWidget& client) {
  constexpr int kChrome = kChildTop + kStatusHeight + 6;
  const int menuHeight = window_.menuBar()->sizeHint().height();
  QSize size(kFirstPanelWidth + 6 + kBoardSize + 4, kBoardSize + kChrome);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QSize available =
        screen->availableGeometry().size() * kInitialScreenShare - QSize(0, menuHeight);
    if (size.height() > available.height()) {
      const int side = std::max(kMinStretchedBoard, available.height() - kChrome);
      size = QSize(kFirstPanelWidth + 6 + side + 4, side + kChrome);
      firstStretch_ = true;
    }
    size = size.boundedTo(available);
  }
  client.resize(size);
  lastSize_ = size;
  window_.resize(size + QSize(0, menuHeight));
  return size;
}

void WindowLayout::Attach(QWidget& client, PlayerPanel& panel, BoardView& board, LogPane& log) {
  client_ = &client;
  panel_ = &panel;
  board_ = &board;
  log_ = &log;
  Apply(InitialLayout(lastSize_, kFirstPanelWidth - 18));
}

ChildLayout WindowLayout::children() const {
  return {panel_->geometry(), board_->geometry()};
}

void WindowLayout::Apply(const ChildLayout& layout) {
  panel_->setGeometry(layout.panel);
  board_->setGeometry(layout.board);
}

void WindowLayout::ClientResized(QSize size) {
  if (panel_ == nullptr) return;
  if (size.width() < kMinClientSize || size.height() < kMinClientSize) return;
  const int dy = lastSize_.height() - size.height();
  const ChildLayout layout = ResizeLayout(children(), lastSize_, size, PanelWidth());
  lastSize_ = size;
  Apply(layout);
  const int stripTop = size.height() - kChildBottomMargin + std::min(dy, 0);
  client_->update(0, stripTop, size.width(), size.height() - stripTop);
  client_->update(StatusStrip(size));
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
  client_->update();
  BoardView* board = board_;
  QMetaObject::invokeMethod(
      board, [board] { board->CentreOnCurrentPlayer(); }, Qt::QueuedConnection);
}

// How much wider the window can grow on its screen, up to `wanted`.
int WindowLayout::RoomToWiden(int wanted) const {
  if (window_.isMaximized() || window_.isFullScreen()) return 0;
  const QScreen* screen = window_.screen();
  if (screen == nullptr) return 0;
  const int right =
      window_.isVisible() ? window_.frameGeometry().right() : window_.geometry().right();
  return std::clamp(screen->availableGeometry().right() - right, 0, wanted);
}

void WindowLayout::ShowGameLog(bool shown) {
  if (shown == !log_->isHidden()) return;
  if (shown) {
    logWidening_ = RoomToWiden(kLogPaneWidth +
                               window_.style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent));
    if (logWidening_ > 0) window_.resize(window_.width() + logWidening_, window_.height());
    log_->show();
    window_.resizeDocks({log_}, {kLogPaneWidth}, Qt::Horizontal);
  } else {
    log_->hide();
    if (logWidening_ > 0) window_.resize(window_.width() - logWidening_, window_.height());
    logWidening_ = 0;
  }
  menu_.SetChecked(kCmdGameLog, shown);
}

// The panel's width for every player to be seen whole at the panel's height.
int WindowLayout::PanelWidth() const {
  return panel_->ColumnsNeeded(panel_->viewport()->height()) * kPanelColumnWidth;
}

// A game with more players than the panel shows whole widens it: the window grows where the
// screen has room, else the board gives way.
void WindowLayout::FitPanelToPlayers() {
  const int missing = PanelWidth() - panel_->width();
  if (missing <= 0) return;
  const int widen = RoomToWiden(missing);
  if (widen > 0) {
    window_.resize(window_.width() + widen, window_.height());
    ClientResized(client_->size());
  }
  const int still = PanelWidth() - panel_->width();
  if (still <= 0) return;
  if (const std::optional<ChildLayout> layout = DragSplitter(children(), still)) {
    Apply(*layout);
    client_->update();
  }
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
