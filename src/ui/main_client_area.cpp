// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main_client_area.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <algorithm>
#include <string>
#include <utility>

#include "data/text_ids.h"
#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/fonts.h"
#include "ui/main_layout.h"
#include "ui/window_layout.h"

namespace tomtura {

namespace {

constexpr int kStatusBottomGap = 2;
constexpr int kStatusTextIndent = 2;
constexpr int kDieSize = 40;
constexpr QPoint kDie1Place(40, 2);
constexpr QPoint kDie2Place(80, 2);
constexpr int kSeparatorHeight = 2;
constexpr int kTumblingFrames = 6;

}  // namespace

MainClientArea::MainClientArea(const Game& game, const BoardPicture& picture, WindowLayout& layout,
                               QWidget* parent)
    : QWidget(parent), game_(game), picture_(picture), layout_(layout) {
  setMouseTracking(true);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

QRect MainClientArea::DiceRect() {
  return {kDie1Place, QSize(2 * kDieSize, kDieSize)};
}

void MainClientArea::RedrawDice() {
  const GameState& state = game_.state;
  tumblingFrame_ = state.diceFrame < kTumblingFrames && state.turnPhase == TurnPhase::Rolling
                       ? state.diceFrame
                       : -1;
  update(DiceRect());
}

void MainClientArea::RedrawStatusLine() {
  update(StatusStrip(size()));
}

void MainClientArea::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  Paint(painter, event->rect());
  if (!painted_) {
    painted_ = true;
    // Start-up measurements end the program at its first frame, without closing windows.
    if (qEnvironmentVariableIsSet("TOMTURA_EXIT_AFTER_FIRST_FRAME")) {
      QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    } else if (afterFirstFrame_) {
      QTimer::singleShot(0, this, [then = afterFirstFrame_] { then(); });
    }
  }
}

void MainClientArea::Paint(QPainter& painter, const QRect& dirty) {
  const QRect area = rect();
  // The views of the panel and the board paint every pixel of theirs: only what lies around
  // them is filled here.
  QRegion around(dirty);
  for (const QAbstractScrollArea* child :
       findChildren<QAbstractScrollArea*>(Qt::FindDirectChildrenOnly)) {
    const QWidget* view = child->viewport();
    if (child->isVisible()) around -= QRect(view->mapTo(this, QPoint(0, 0)), view->size());
  }
  const QBrush background = picture_.isNull() ? palette().window() : picture_.BackgroundBrush();
  for (const QRect& part : around) painter.fillRect(part, background);

  if (!picture_.isNull() && dirty.intersects(DiceRect())) {
    const GameState& state = game_.state;
    if (tumblingFrame_ >= 0 && state.turnPhase == TurnPhase::Rolling) {
      painter.drawPixmap(kDie1Place, picture_.TumblingDie(tumblingFrame_));
      painter.drawPixmap(kDie2Place, picture_.TumblingDie(tumblingFrame_));
    } else {
      painter.drawPixmap(kDie1Place, picture_.DieFace(std::clamp(state.die1, 1, sheet::kDieFaces)));
      painter.drawPixmap(kDie2Place, picture_.DieFace(std::clamp(state.die2, 1, sheet::kDieFaces)));
    }
  }

  Frame3D(painter, QRect(0, 0, area.width(), kSeparatorHeight), false, false, 0);

  const int top = area.height() - kStatusHeight;
  const int boxHeight = kStatusHeight - kStatusBottomGap;
  const ChildLayout children = layout_.children();
  const int panelWidth = children.panel.width();
  const QRect left(kPanelLeft, top, panelWidth, boxHeight);
  const QRect right(panelWidth + 4, top, children.board.width(), boxHeight);
  if (!dirty.intersects(left) && !dirty.intersects(right)) return;

  const GameState& state = game_.state;
  const std::string name = state.playerCount > 0 ? game_.PlayerName(state.currentPlayer) : "";
  painter.setFont(BoldFont());
  painter.setPen(Qt::black);
  for (const auto& [box, text] : {std::pair(left, game_.FormatCatalogue(kTextCurrentPlayer, name)),
                                  std::pair(right, state.statusText)}) {
    Frame3D(painter, box, false, false, 0);
    painter.save();
    painter.setClipRect(box);
    // A computer player's summary joins its parts with "&&", written for a drawing that shows
    // an ampersand written twice as one.
    painter.drawText(
        box.adjusted(kStatusTextIndent, 0, 0, 0),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        QString::fromStdString(text).replace(QStringLiteral("&&"), QStringLiteral("&")));
    painter.restore();
  }
}

void MainClientArea::resizeEvent(QResizeEvent*) {
  layout_.ClientResized(size());
}

void MainClientArea::mouseMoveEvent(QMouseEvent* event) {
  layout_.MouseMove(event->position().toPoint());
}

void MainClientArea::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) layout_.MousePress(event->position().toPoint());
}

void MainClientArea::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) layout_.EndDrag();
}

void MainClientArea::focusOutEvent(QFocusEvent*) {
  layout_.EndDrag();
}

}  // namespace tomtura
