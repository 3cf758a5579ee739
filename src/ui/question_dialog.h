#pragma once
// The question dialog: a message of the turn (an offer to buy, a card, a jail or tax notice, a
// debt) on a captionless, coloured card with one or two buttons. A computer player's question
// shows only the button it chose and answers itself after three seconds. The debt question's
// first button opens the play window on its selling page and keeps asking while the money is
// still short.
#include <QPoint>
#include <QTimer>

#include "data/game_state.h"
#include "rules/front_end.h"
#include "trade/dialogs.h"
#include "ui/framed_dialog.h"

namespace tomtura {

// Colour kinds of the question, by the keyword texts found in it.
enum QuestionKind : int {
  kChanceKind = 0,
  kCommunityKind = 1,
  kJailKind = 2,
  kDebtKind = 3,
  kOfferKind = 4,
  kOtherKind = 5,
};

// The background of a question of `kind` (0..5).
QColor QuestionColour(int kind);

class QuestionDialog : public FramedDialog {
  Q_OBJECT

 public:
  static constexpr int kAnswerDelayMs = 3000;
  static constexpr int kTilesX = 5;
  static constexpr int kTilesY = 3;
  // The result when the play window found the player unable to pay.
  static constexpr int kClosedByPlayWindow = 0;

  QuestionDialog(Game& game, const QuestionParams& question, const BoardPicture* picture,
                 QWidget* parent);
  ~QuestionDialog() override;

  int kind() const { return layout_.kind; }
  const QString& text() const { return text_; }
  // True while the computer's own answer is pending.
  bool answerPending() const { return answerTimer_.isActive(); }

  // Button 1 and button 2 as pressed by the player.
  void PressButton1();
  void PressButton2();
  // Escape: button 2 when it is offered, except on the debt question, where giving up would
  // end the player's game on a slip of the hand; a notice is closed as with OK.
  void reject() override;

 protected:
  void PaintContent(QPainter& painter) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FitText();
  void Finish(int result);
  QRect TextRect() const;

  QuestionParams question_;
  QuestionLayout layout_;
  QString text_;
  TurnPhase savedPhase_;
  QTimer answerTimer_;
  bool dragging_ = false;
  QPoint dragPoint_;
};

}  // namespace tomtura
