// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/auction_dialog.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <limits>

#include "data/text_ids.h"
#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"

namespace tomtura {
namespace {

const QColor kAuctionGreen(0, 255, 0);

// Layout of the 314 x 154 client area (and of taller ones for long messages).
constexpr int kMessageLeft = 44;
constexpr int kMessageTop = 16;
constexpr int kMessageRight = 22;  // from the right edge
constexpr int kMarkerOffset = 22;  // the group marker stands this far left of the message
constexpr int kGap = 8;
constexpr int kRowHeight = 22;
constexpr int kBidLabelLeft = 18;
constexpr int kBidLabelWidth = 36;
constexpr int kBidFieldWidth = 84;
constexpr int kPasswordLabelWidth = 66;
constexpr int kPasswordFieldWidth = 60;
constexpr int kAuctionButtonHeight = 24;

constexpr int kMessageFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

}  // namespace

unsigned ParseBid(const QString& digits) {
  constexpr unsigned kMax = std::numeric_limits<unsigned>::max();
  unsigned long long value = 0;
  for (const QChar c : digits) {
    if (c < u'0' || c > u'9') break;
    value = value * 10 + static_cast<unsigned>(c.unicode() - u'0');
    if (value > kMax) return kMax;
  }
  return static_cast<unsigned>(value);
}

AuctionDialog::AuctionDialog(Game& game, const Auction& auction, const BoardPicture* picture,
                             QWidget* parent)
    : FramedDialog(game, picture, parent,
                   Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      auction_(auction) {
  setWindowTitle(tr("Tomtura - Auction"));
  SetBackground(kAuctionGreen);

  message_ = MakeMessage(Qt::AlignHCenter | Qt::AlignTop);

  bidLabel_ = new QLabel(tr("&Bid:"), this);
  SetControlId(bidLabel_, kIdBidLabel);
  bidLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  bidField_ = new QLineEdit(this);
  SetControlId(bidField_, kIdBid);
  // Anything but digits is refused as it is typed or pasted.
  bidField_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), bidField_));
  bidLabel_->setBuddy(bidField_);

  const PasswordRow password = MakePasswordRow(tr("&Password:"));
  passwordLabel_ = password.label;
  passwordField_ = password.field;

  MakeButtons(tr("&OK"), tr("&Cancel"));
  button1_->setDefault(true);
  connect(button1_, &QPushButton::clicked, this, &AuctionDialog::PressBid);
  connect(button2_, &QPushButton::clicked, this, &AuctionDialog::PressPass);
  setTabOrder(bidField_, passwordField_);
  setTabOrder(passwordField_, button1_);
  setTabOrder(button1_, button2_);

  computerTimer_.setSingleShot(true);
  connect(&computerTimer_, &QTimer::timeout, this, [this] { Answer(computerAnswer_); });

  SetTiles(kTilesX, kTilesY);
  bidField_->setText(QStringLiteral("0"));
  request_.kind = DecisionKind::AuctionBid;
  ShowBidder();
}

void AuctionDialog::ShowTurn(const DecisionRequest& request) {
  computerTimer_.stop();
  request_ = request;
  answered_ = false;
  remoteTurn_ = false;
  ShowControl(button1_, true);
  ShowControl(button2_, true);
  if (closing()) {
    ShowEnd();
    return;
  }
  // The first bidder finds the field as the auction opened; later ones find it selected.
  if (!firstTurn_) passwordField_->clear();
  ShowBidder();
  if (!firstTurn_) FocusSelected(bidField_);
  firstTurn_ = false;
}

void AuctionDialog::ShowComputerMove(const DecisionRequest& request, const Decision& answer) {
  ShowTurn(request);
  computerAnswer_ = answer;
  if (!closing()) {
    if (answer.button == 1) {
      bidField_->setText(QString::number(answer.amount));
      bidField_->setReadOnly(true);
      ShowControl(button2_, false);
    } else {
      ShowControl(button1_, false);
    }
  }
  computerTimer_.start(TimerMs(request.answerDelayMs));
}

void AuctionDialog::ShowRemoteTurn(const DecisionRequest& request) {
  ShowTurn(request);
  remoteTurn_ = true;
  bidField_->setReadOnly(true);
  passwordField_->clear();
  ShowControl(passwordLabel_, false);
  ShowControl(passwordField_, false);
  ShowControl(button1_, false);
  ShowControl(button2_, false);
}

int AuctionDialog::Await() {
  if (!answered_) {
    QEventLoop loop;
    loop_ = &loop;
    loop.exec();
    loop_ = nullptr;
  }
  return answer_.button;
}

void AuctionDialog::Answer(const Decision& answer) {
  if (answered_) return;
  computerTimer_.stop();
  bidField_->setReadOnly(false);
  answer_ = answer;
  answered_ = true;
  if (loop_ != nullptr) loop_->quit();
}

void AuctionDialog::PressBid() {
  if (answered_ || remoteTurn_) return;
  // A computer's move on show, or the end of the auction: the press only hurries it on.
  if (computerTimer_.isActive()) {
    Answer(computerAnswer_);
    return;
  }
  if (closing()) {
    Answer({1, 0, nullptr});
    return;
  }
  const unsigned bid = ParseBid(bidField_->text());
  const int refusal = game_.referee.BidRefusal(request_, bid, passwordField_->text().toStdString());
  if (refusal == kTextWrongPassword) {
    ShowError(refusal);
    FocusSelected(passwordField_);
    return;
  }
  if (refusal != 0) {
    ShowError(refusal);
    FocusSelected(bidField_);
    return;
  }
  Answer({1, static_cast<int>(bid), nullptr});
}

void AuctionDialog::PressPass() {
  if (answered_ || closing() || remoteTurn_) return;
  if (computerTimer_.isActive()) {
    Answer(computerAnswer_);
    return;
  }
  Answer({2, 0, nullptr});
}

void AuctionDialog::reject() {
  if (computerTimer_.isActive()) {
    Answer(computerAnswer_);
  } else if (closing()) {
    PressBid();
  } else if (button2_->isEnabled()) {
    PressPass();
  }
}

void AuctionDialog::keyPressEvent(QKeyEvent* event) {
  if (computerTimer_.isActive() && !IsModifierKey(event->key())) {
    Answer(computerAnswer_);
    return;
  }
  FramedDialog::keyPressEvent(event);
}

void AuctionDialog::mouseReleaseEvent(QMouseEvent* event) {
  if (computerTimer_.isActive() && event->button() == Qt::LeftButton) {
    Answer(computerAnswer_);
    return;
  }
  FramedDialog::mouseReleaseEvent(event);
}

// The message, the title and the password row for the bidder on turn.
void AuctionDialog::ShowBidder() {
  message_->setText(QString::fromStdString(auction_.message()));
  setWindowTitle(QString::fromStdString(auction_.title()));
  const bool password = auction_.BidderHasPassword();
  ShowControl(passwordLabel_, password);
  ShowControl(passwordField_, password);
  bidField_->setReadOnly(false);
  FitMessage();
}

void AuctionDialog::ShowEnd() {
  message_->setText(QString::fromStdString(auction_.message()));
  setWindowTitle(QString::fromStdString(auction_.title()));
  for (QWidget* control :
       {static_cast<QWidget*>(passwordLabel_), static_cast<QWidget*>(passwordField_),
        static_cast<QWidget*>(bidField_), static_cast<QWidget*>(bidLabel_)}) {
    ShowControl(control, false);
  }
  ShowControl(button2_, false);
  FitMessage();
  button1_->setFocus(Qt::OtherFocusReason);
}

// The message area grows by whole rows of tiles when a long message needs it; the row of
// fields and the buttons keep their places above the bottom tiles.
void AuctionDialog::FitMessage() {
  SetTiles(kTilesX, tiles().height());  // as wide as the bidder's title needs
  const QFontMetrics metrics(DialogFont());
  const auto messageHeight = [this] {
    return ButtonTop(kAuctionButtonHeight) - kGap - kRowHeight - kGap - kMessageTop;
  };
  const int width = this->width() - kMessageLeft - kMessageRight;
  const int needed =
      metrics.boundingRect(QRect(0, 0, width, 0), kMessageFlags, message_->text()).height();
  int ny = tiles().height();
  while (needed > messageHeight() && ny < kMaxTilesY) SetTiles(kTilesX, ++ny);

  message_->setGeometry(kMessageLeft, kMessageTop, width, messageHeight());
  const int rowTop = ButtonTop(kAuctionButtonHeight) - kGap - kRowHeight;
  bidLabel_->setGeometry(kBidLabelLeft, rowTop, kBidLabelWidth, kRowHeight);
  const int bidLeft = kBidLabelLeft + kBidLabelWidth + 2;
  bidField_->setGeometry(bidLeft, rowTop, kBidFieldWidth, kRowHeight);
  const int passwordLeft = bidLeft + kBidFieldWidth + kGap;
  passwordLabel_->setGeometry(passwordLeft, rowTop, kPasswordLabelWidth, kRowHeight);
  passwordField_->setGeometry(passwordLeft + kPasswordLabelWidth + 2, rowTop, kPasswordFieldWidth,
                              kRowHeight);
  PlaceButtons(kAuctionButtonHeight);
}

void AuctionDialog::PaintContent(QPainter& painter) {
  if (picture_ == nullptr || picture_->isNull()) return;
  const int group = game_.state.properties[auction_.property()].group;
  if (group < 0 || group > kJailCardGroup) return;
  painter.drawPixmap(message_->x() - kMarkerOffset, message_->y(), picture_->GroupMarker(group));
}

}  // namespace tomtura
