#pragma once
// The auction dialog: shows the auction of a declined property as the Auction state machine
// runs it. The bidder at this computer types a bid (digits only) and, when he has a password,
// confirms each bid with it, or passes; a computer bidder's bid or pass shows for a moment and
// is then made. When the auction has ended only OK is left, which closes the dialog; a
// computer player's auction closes by itself after three seconds.
#include <QLabel>
#include <QLineEdit>
#include <QString>
#include <QTimer>

#include "data/game_state.h"
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
  static constexpr int kCloseDelayMs = 3000;       // timer 1: a computer player's auction
  static constexpr int kComputerBidMs = 2000;      // timer 2 while a person watches
  static constexpr int kComputerOnlyBidMs = 1000;  // timer 2 with computer players only
  static constexpr int kIdBid = 1034;
  static constexpr int kIdBidLabel = 1040;

  AuctionDialog(Game& game, const BoardPicture* picture, QWidget* parent);
  ~AuctionDialog() override;

  const Auction& auction() const { return auction_; }
  int winner() const { return auction_.highestBidder(); }
  QLabel* message() const { return message_; }
  QLineEdit* bidField() const { return bidField_; }
  QLineEdit* passwordField() const { return passwordField_; }
  bool computerMovePending() const { return bidTimer_.isActive(); }
  int computerMoveDelay() const { return bidTimer_.interval(); }
  bool closing() const { return closeTimer_.isActive(); }

  // OK: a bid, or closing once the auction has ended.
  void PressBid();
  // Cancel: the bidder passes.
  void PressPass();
  // Escape and the window's close box: a pass while the bidder may pass, closing after the end.
  void reject() override;
  // Ends an auction that is still running when the dialog goes (everybody left in passes), so
  // that a winner has always paid; returns the winner.
  int Conclude();

 protected:
  void PaintContent(QPainter& painter) override;

 private:
  void AfterAction();
  // The message, title and password row for the bidder on turn; `focusBid` gives the bid field
  // the focus with its text selected.
  void ShowBidder(bool focusBid);
  void ShowEnd();
  void PrepareComputerMove();
  void ComputerMove();
  void FitMessage();
  void Close();

  Auction auction_;
  TurnPhase savedPhase_;
  QLabel* message_ = nullptr;
  QLabel* bidLabel_ = nullptr;
  QLineEdit* bidField_ = nullptr;
  QLabel* passwordLabel_ = nullptr;
  QLineEdit* passwordField_ = nullptr;
  QTimer closeTimer_;  // timer 1
  QTimer bidTimer_;    // timer 2
};

}  // namespace tomtura
