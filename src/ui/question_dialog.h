// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The question dialog: a message of the turn (an offer to buy, a card, a jail or tax notice, a
// debt) on a captionless, coloured card with one or two buttons. It returns the button a
// person pressed; a computer player's answer, already decided, shows with only its button and
// closes itself after the request's delay. A question put to a player at another computer shows
// without buttons until his answer arrives, then as a computer player's does.
#include <QPoint>
#include <QTimer>
#include <optional>

#include "rules/decision.h"
#include "ui/framed_dialog.h"

namespace tomtura {

// The background of a question of `kind` (0..5).
QColor QuestionColour(int kind);

class QuestionDialog : public FramedDialog {
  Q_OBJECT

 public:
  static constexpr int kTilesX = 5;
  static constexpr int kTilesY = 3;

  // `computerAnswer` given: the answer of a computer player, shown rather than asked.
  QuestionDialog(Game& game, const DecisionRequest& request, const BoardPicture* picture,
                 QWidget* parent, std::optional<Decision> computerAnswer = std::nullopt);

  int kind() const { return request_.layout.kind; }
  const QString& text() const { return text_; }
  // True while the computer's own answer is pending.
  bool answerPending() const { return answerTimer_.isActive(); }

  // The question waits for an answer given at another computer: no button can be pressed here.
  void AwaitRemote();
  // The answer has come: it shows with only its button and closes the question after the
  // request's delay.
  void ShowChosen(const Decision& answer);
  bool awaitingRemote() const { return awaitingRemote_; }

  // Button 1 and button 2 as pressed by the player.
  void PressButton1();
  void PressButton2();
  // Escape: button 2 when it is offered, except on the debt question, where giving up would
  // end the player's game on a slip of the hand; a notice is closed as with OK. A computer's
  // answer on show is taken at once.
  void reject() override;
  // A computer's answer on show ends the dialog at once with it: the answer is decided, only
  // its showing waits. Any key or a click on the dialog (not a drag) does the same.
  void SkipAnswer();

 protected:
  void PaintContent(QPainter& painter) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void FitText();
  void TakeShownAnswer();
  void Finish(int result);
  QRect TextRect() const;

  DecisionRequest request_;
  QString text_;
  QTimer answerTimer_;
  bool awaitingRemote_ = false;
  bool dragging_ = false;
  bool dragged_ = false;  // the press has moved the dialog: no click
  QPoint dragPoint_;
};

}  // namespace tomtura
