#include "ui/question_dialog.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <array>

#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"

namespace tomtura {
namespace {

constexpr int kMaxTextChars = 255;
constexpr int kTextTop = 15;
constexpr int kTextMargin = 14;  // clear of the side tiles
constexpr int kButtonHeight = 24;
constexpr int kTextButtonGap = 4;
constexpr int kSellPage = 1;
constexpr int kPlayWindowCannotPay = 3;

constexpr int kTextFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

}  // namespace

QColor QuestionColour(int kind) {
  static const std::array<QColor, 6> kColours = {QColor(255, 255, 0), QColor(0, 255, 255),
                                                 QColor(255, 0, 255), QColor(0, 255, 255),
                                                 QColor(0, 255, 0),   QColor(255, 0, 0)};
  return kind >= 0 && kind < static_cast<int>(kColours.size()) ? kColours[kind] : kColours[5];
}

QuestionDialog::QuestionDialog(Game& game, const QuestionParams& question,
                               const BoardPicture* picture, QWidget* parent)
    : FramedDialog(game, picture, parent, Qt::Dialog | Qt::FramelessWindowHint),
      question_(question),
      savedPhase_(game.state.turnPhase) {
  GameState& state = game_.state;
  state.turnPhase = TurnPhase::Dealing;
  text_ = QString::fromStdString(question.text).left(kMaxTextChars);
  setWindowTitle(text_);

  layout_ = DescribeQuestion(game_, question_);
  MakeButtons(QString::fromStdString(layout_.button1), QString::fromStdString(layout_.button2));
  button1_->setDefault(true);
  connect(button1_, &QPushButton::clicked, this, &QuestionDialog::PressButton1);
  connect(button2_, &QPushButton::clicked, this, &QuestionDialog::PressButton2);
  if (!question_.twoButtons) ShowControl(button2_, false);

  const bool computerAnswers = state.current().isComputer != 0;
  QPushButton* focus = button1_;
  if (computerAnswers) {
    const bool first = layout_.computerAnswer == 1;
    ShowControl(first ? button2_ : button1_, false);
    focus = first ? button1_ : button2_;
    focus->setDefault(true);
  }
  SetBackground(QuestionColour(layout_.kind));
  FitText();
  PlaceButtons(kButtonHeight);
  setTabOrder(button1_, button2_);
  focus->setFocus(Qt::OtherFocusReason);

  answerTimer_.setSingleShot(true);
  connect(&answerTimer_, &QTimer::timeout, this, [this] {
    dragging_ = false;
    Finish(button1_->isEnabled() ? 1 : 2);
  });
  if (computerAnswers) answerTimer_.start(TimerMs(kAnswerDelayMs));
}

QuestionDialog::~QuestionDialog() {
  game_.state.turnPhase = savedPhase_;
}

// The message area: from 15 pixels below the top down to the buttons, clear of the side tiles.
QRect QuestionDialog::TextRect() const {
  return QRect(kTextMargin, kTextTop, width() - 2 * kTextMargin,
               ButtonTop(kButtonHeight) - kTextButtonGap - kTextTop);
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
  if (layout_.kind == kDebtKind) {
    const int closed = game_.ui.OpenPlayWindow(kSellPage);
    game_.ui.BoardChanged();
    game_.ui.PanelChanged();
    if (closed == kPlayWindowCannotPay) {
      Finish(kClosedByPlayWindow);
      return;
    }
    // Still short of money: the question stays while the player can still give up instead.
    if (game_.state.current().money < 0 && button2_->isEnabled()) {
      game_.state.turnPhase = TurnPhase::Dealing;
      return;
    }
  }
  Finish(1);
}

void QuestionDialog::PressButton2() {
  if (!button2_->isEnabled()) return;
  Finish(2);
}

void QuestionDialog::reject() {
  if (!question_.twoButtons) {
    PressButton1();
  } else if (layout_.kind != kDebtKind) {
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

// The dialog has no caption: it is moved by dragging it anywhere.
void QuestionDialog::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  dragPoint_ = event->position().toPoint();
}

void QuestionDialog::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  move(pos() + event->position().toPoint() - dragPoint_);
}

void QuestionDialog::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) dragging_ = false;
}

}  // namespace tomtura
