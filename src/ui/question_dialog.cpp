// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/question_dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <array>

#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"

namespace tomtura {
namespace {

constexpr int kMaxTextChars = 255;
constexpr int kQuestionTextTop = 15;
constexpr int kTextMargin = 14;  // clear of the side tiles
constexpr int kQuestionButtonHeight = 24;
constexpr int kTextButtonGap = 4;

constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

}  // namespace

QColor QuestionColour(int kind) {
  static const std::array<QColor, 6> kColours = {QColor(255, 255, 0), QColor(0, 255, 255),
                                                 QColor(255, 0, 255), QColor(0, 255, 255),
                                                 QColor(0, 255, 0),   QColor(255, 0, 0)};
  return kind >= 0 && kind < static_cast<int>(kColours.size()) ? kColours[kind] : kColours[5];
}

QuestionDialog::QuestionDialog(Game& game, const DecisionRequest& request,
                               const BoardPicture* picture, QWidget* parent,
                               std::optional<Decision> computerAnswer)
    : FramedDialog(game, picture, parent, Qt::Dialog | Qt::FramelessWindowHint), request_(request) {
  text_ = QString::fromStdString(request.text).left(kMaxTextChars);
  setWindowTitle(text_);

  const QuestionLayout& layout = request_.layout;
  MakeButtons(QString::fromStdString(layout.button1), QString::fromStdString(layout.button2));
  button1_->setDefault(true);
  connect(button1_, &QPushButton::clicked, this, &QuestionDialog::PressButton1);
  connect(button2_, &QPushButton::clicked, this, &QuestionDialog::PressButton2);
  if (!request_.twoButtons) ShowControl(button2_, false);

  SetBackground(QuestionColour(layout.kind));
  FitText();
  PlaceButtons(kQuestionButtonHeight);
  setTabOrder(button1_, button2_);
  button1_->setFocus(Qt::OtherFocusReason);

  answerTimer_.setSingleShot(true);
  connect(&answerTimer_, &QTimer::timeout, this, &QuestionDialog::TakeShownAnswer);
  if (computerAnswer) ShowChosen(*computerAnswer);
}

void QuestionDialog::AwaitRemote() {
  awaitingRemote_ = true;
  ShowControl(button1_, false);
  ShowControl(button2_, false);
}

void QuestionDialog::ShowChosen(const Decision& answer) {
  awaitingRemote_ = false;
  const bool first = answer.button == 1 || !request_.twoButtons;
  ShowControl(button1_, first);
  ShowControl(button2_, !first);
  QPushButton* chosen = first ? button1_ : button2_;
  chosen->setDefault(true);
  chosen->setFocus(Qt::OtherFocusReason);
  answerTimer_.start(TimerMs(request_.answerDelayMs));
}

// The message area: from 15 pixels below the top down to the buttons, clear of the side tiles.
QRect QuestionDialog::TextRect() const {
  return QRect(kTextMargin, kQuestionTextTop, width() - 2 * kTextMargin,
               ButtonTop(kQuestionButtonHeight) - kTextButtonGap - kQuestionTextTop);
}

// Five by three tiles hold the game's own messages; a longer text from an edited board file
// gets more rows (and then more columns) of tiles instead of being cut off.
void QuestionDialog::FitText() {
  const QFontMetrics metrics(DialogFont());
  int nx = kTilesX;
  int ny = kTilesY;
  for (;;) {
    SetTiles(nx, ny);
    const QRect area = TextRect();
    const QRect needed = metrics.boundingRect(area, kTextFlags, text_);
    if (needed.height() <= area.height() && needed.width() <= area.width()) return;
    if (ny < kMaxTilesY) {
      ++ny;
    } else if (nx < kMaxTilesX) {
      ++nx;
      ny = kTilesY;
    } else {
      return;
    }
  }
}

void QuestionDialog::PressButton1() {
  if (!button1_->isEnabled()) return;
  Finish(1);
}

void QuestionDialog::PressButton2() {
  if (!button2_->isEnabled()) return;
  Finish(2);
}

void QuestionDialog::SkipAnswer() {
  if (answerPending()) TakeShownAnswer();
}

// The computer's answer is the one button left showing.
void QuestionDialog::TakeShownAnswer() {
  Finish(button1_->isEnabled() ? 1 : 2);
}

void QuestionDialog::reject() {
  if (awaitingRemote_) return;  // the answer is another computer's
  if (answerPending()) {
    SkipAnswer();
  } else if (!request_.twoButtons) {
    PressButton1();
  } else if (request_.layout.kind != kDebtKind) {
    PressButton2();
  }
}

void QuestionDialog::Finish(int result) {
  answerTimer_.stop();
  dragging_ = false;
  done(result);
}

void QuestionDialog::PaintContent(QPainter& painter) {
  painter.setFont(DialogFont());
  painter.setPen(Qt::black);
  painter.drawText(TextRect(), kTextFlags, text_);
}

void QuestionDialog::keyPressEvent(QKeyEvent* event) {
  if (answerPending() && !IsModifierKey(event->key())) {
    SkipAnswer();
    return;
  }
  FramedDialog::keyPressEvent(event);
}

// The dialog has no caption: it is moved by dragging it anywhere.
void QuestionDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  dragged_ = false;
  dragPoint_ = event->position().toPoint();
}

void QuestionDialog::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint step = event->position().toPoint() - dragPoint_;
  if (!dragged_ && step.manhattanLength() < QApplication::startDragDistance()) return;
  dragged_ = true;
  move(pos() + step);
}

void QuestionDialog::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const bool click = dragging_ && !dragged_;
  dragging_ = false;
  if (click && answerPending()) SkipAnswer();
}

}  // namespace tomtura
