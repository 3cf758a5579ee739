// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The auction dialog: shows the auction of a declined property while the referee runs it, one
// turn at a time. It stays open from the first turn to the closing. A bidder at this computer
// types a bid (digits only) and, when he has a password, confirms each bid with it, or passes;
// a computer bidder's bid or pass shows for a moment. When the auction has ended only OK is
// left; a computer player's auction closes by itself.
#include <QEventLoop>
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QTimer>

#include "rules/decision.h"
#include "trade/auction.h"
#include "ui/framed_dialog.h"

namespace tomtura {

// The bid field's text as an amount: 0 when empty; more than any bid can be is held at the
// largest unsigned value, which the auction refuses.
unsigned ParseBid(const QString& digits);

class AuctionDialog : public FramedDialog {
  Q_OBJECT

 public:
  static constexpr int kTilesX = 7;
  static constexpr int kTilesY = 3;
  static constexpr int kIdBid = 1034;
  static constexpr int kIdBidLabel = 1040;

  AuctionDialog(Game& game, const Auction& auction, const BoardPicture* picture, QWidget* parent);

  const Auction& auction() const { return auction_; }
  int winner() const { return auction_.highestBidder(); }
  QLabel* message() const { return message_; }
  QLineEdit* bidField() const { return bidField_; }
  QLineEdit* passwordField() const { return passwordField_; }
  bool computerMovePending() const { return computerTimer_.isActive(); }
  int computerMoveDelay() const { return computerTimer_.interval(); }
  // The auction is over and only OK is left.
  bool closing() const { return request_.kind == DecisionKind::AuctionClose; }

  // The turn of `request` for a person at this computer: a bid or pass, or the closing.
  void ShowTurn(const DecisionRequest& request);
  // A computer player's answer to `request`: its bid shows in the field (its pass leaves only
  // Cancel) and is made when the request's delay has run out.
  void ShowComputerMove(const DecisionRequest& request, const Decision& answer);
  // The turn of a bidder at another computer (or the closing there): the auction as it stands,
  // with neither a field to type in nor a button to press until his answer comes.
  void ShowRemoteTurn(const DecisionRequest& request);
  bool remoteTurn() const { return remoteTurn_; }
  // Waits, with the dialog open, until the turn shown is answered; returns the button
  // (1 a bid or the closing, 2 a pass). answer() holds the whole decision.
  int Await();
  const Decision& answer() const { return answer_; }
  bool answered() const { return answered_; }

  // OK: a bid, or closing once the auction has ended.
  void PressBid();
  // Cancel: the bidder passes.
  void PressPass();
  // Escape and the window's close box: a pass while the bidder may pass, closing after the end.
  void reject() override;

 protected:
  void PaintContent(QPainter& painter) override;
  // While a computer's move is on show, any key or a click on the dialog shows the next turn
  // at once: the move is decided, only its showing waits.
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Answer(const Decision& answer);
  // The message, title and password row for the bidder on turn.
  void ShowBidder();
  void ShowEnd();
  void FitMessage();

  const Auction& auction_;
  DecisionRequest request_;
  Decision answer_;
  Decision computerAnswer_;
  bool answered_ = false;
  bool firstTurn_ = true;
  bool remoteTurn_ = false;
  QEventLoop* loop_ = nullptr;
  QLabel* message_ = nullptr;
  QLabel* bidLabel_ = nullptr;
  QLineEdit* bidField_ = nullptr;
  QLabel* passwordLabel_ = nullptr;
  QLineEdit* passwordField_ = nullptr;
  QTimer computerTimer_;  // a computer player's move, and the close of its auction
};

}  // namespace tomtura
