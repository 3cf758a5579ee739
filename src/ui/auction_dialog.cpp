#include "ui/auction_dialog.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <limits>

#include "rules/game.h"
#include "ui/board_picture.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"

namespace tomtura {
namespace {

constexpr char kTemplateTitle[] = "Brikanda: auction";
constexpr char kPasswordCaption[] = "Lösenord:";
constexpr char kBidCaption[] = "Bid: ";
constexpr int kTextBidTooLow = 58;
constexpr int kTextBidTip = 138;
constexpr int kTextBidButtonTip = 147;
constexpr int kTextPassButtonTip = 148;

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
constexpr int kButtonHeight = 24;

constexpr int kMessageFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

bool NobodyPlaysHere(const GameState& state) {
  for (int n = 0; n < state.playerCount; ++n) {
    if (state.players[n].isComputer == 0) return false;
  }
  return true;
}

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

AuctionDialog::AuctionDialog(Game& game, const BoardPicture* picture, QWidget* parent)
    : FramedDialog(game, picture, parent,
                   Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      auction_(game),
      savedPhase_(game.state.turnPhase) {
  game_.state.turnPhase = TurnPhase::Dealing;
  setWindowTitle(kTemplateTitle);
  SetBackground(kAuctionGreen);

  message_ = MakeMessage(Qt::AlignHCenter | Qt::AlignTop);

  bidLabel_ = new QLabel(kBidCaption, this);
  SetControlId(bidLabel_, kIdBidLabel);
  bidLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  bidField_ = new QLineEdit(this);
  SetControlId(bidField_, kIdBid);
  // Anything but digits is refused as it is typed or pasted.
  bidField_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), bidField_));
  bidField_->setToolTip(QString::fromStdString(game_.Text(kTextBidTip)));
  bidLabel_->setBuddy(bidField_);

  const PasswordRow password = MakePasswordRow(QString::fromUtf8(kPasswordCaption));
  passwordLabel_ = password.label;
  passwordField_ = password.field;

  MakeButtons(QStringLiteral("&OK"), QStringLiteral("&Cancel"));
  button1_->setDefault(true);
  button1_->setToolTip(QString::fromStdString(game_.Text(kTextBidButtonTip)));
  button2_->setToolTip(QString::fromStdString(game_.Text(kTextPassButtonTip)));
  connect(button1_, &QPushButton::clicked, this, &AuctionDialog::PressBid);
  connect(button2_, &QPushButton::clicked, this, &AuctionDialog::PressPass);
  setTabOrder(bidField_, passwordField_);
  setTabOrder(passwordField_, button1_);
  setTabOrder(button1_, button2_);

  closeTimer_.setSingleShot(true);
  connect(&closeTimer_, &QTimer::timeout, this, &AuctionDialog::Close);
  bidTimer_.setSingleShot(true);
  connect(&bidTimer_, &QTimer::timeout, this, &AuctionDialog::ComputerMove);

  SetTiles(kTilesX, kTilesY);
  bidField_->setText(QStringLiteral("0"));
  ShowBidder(false);
}

AuctionDialog::~AuctionDialog() {
  game_.state.turnPhase = savedPhase_;
}

void AuctionDialog::PressBid() {
  if (auction_.ended()) {
    Close();
    return;
  }
  const bool computer = auction_.BidderIsComputer();
  const Auction::BidResult result =
      auction_.Bid(ParseBid(bidField_->text()), passwordField_->text().toStdString());
  if (result != Auction::BidResult::Taken && computer) {
    // A computer's bid that cannot be taken (beyond what money can hold) becomes its pass.
    auction_.Pass();
  } else if (result == Auction::BidResult::WrongPassword) {
    ShowError(kTextWrongPassword);
    FocusSelected(passwordField_);
    return;
  } else if (result == Auction::BidResult::TooLow) {
    ShowError(kTextBidTooLow);
    FocusSelected(bidField_);
    return;
  }
  AfterAction();
}

void AuctionDialog::PressPass() {
  if (auction_.ended()) return;
  auction_.Pass();
  AfterAction();
}

void AuctionDialog::reject() {
  if (auction_.ended()) {
    Close();
  } else if (button2_->isEnabled()) {
    PressPass();
  }
}

int AuctionDialog::Conclude() {
  while (!auction_.ended()) auction_.Pass();
  return auction_.highestBidder();
}

void AuctionDialog::AfterAction() {
  bidTimer_.stop();
  ShowControl(button1_, true);
  ShowControl(button2_, true);
  if (auction_.ended()) {
    ShowEnd();
  } else {
    passwordField_->clear();
    ShowBidder(true);
  }
}

// The message, the title and the password row for the bidder on turn; a computer bidder's move
// is prepared.
void AuctionDialog::ShowBidder(bool focusBid) {
  message_->setText(QString::fromStdString(auction_.message()));
  setWindowTitle(QString::fromStdString(auction_.title()));
  const bool password = auction_.BidderHasPassword();
  ShowControl(passwordLabel_, password);
  ShowControl(passwordField_, password);
  bidField_->setReadOnly(false);
  if (focusBid) FocusSelected(bidField_);
  if (auction_.BidderIsComputer()) PrepareComputerMove();
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
  // The buttons' hints speak of bidding, which is over.
  button1_->setToolTip(QString());
  FitMessage();
  button1_->setFocus(Qt::OtherFocusReason);
  if (game_.state.current().isComputer == 1) closeTimer_.start(TimerMs(kCloseDelayMs));
}

// The computer's bid shows in the field (its pass leaves only Cancel) and is made when timer 2
// runs out.
void AuctionDialog::PrepareComputerMove() {
  const int raise = auction_.ComputerRaise();
  if (raise <= 0) {
    ShowControl(button1_, false);
  } else {
    bidField_->setText(QString::number(auction_.highestBid() + raise));
    bidField_->setReadOnly(true);
    ShowControl(button2_, false);
  }
  bidTimer_.start(TimerMs(NobodyPlaysHere(game_.state) ? kComputerOnlyBidMs : kComputerBidMs));
}

void AuctionDialog::ComputerMove() {
  if (auction_.ended() || !auction_.BidderIsComputer()) return;
  bidField_->setReadOnly(false);
  if (button1_->isEnabled()) {
    PressBid();
  } else {
    PressPass();
  }
}

// The message area grows by whole rows of tiles when a long message needs it; the row of
// fields and the buttons keep their places above the bottom tiles.
void AuctionDialog::FitMessage() {
  const QFontMetrics metrics(DialogFont());
  const auto messageHeight = [this] {
    return ButtonTop(kButtonHeight) - kGap - kRowHeight - kGap - kMessageTop;
  };
  const int width = this->width() - kMessageLeft - kMessageRight;
  const int needed =
      metrics.boundingRect(QRect(0, 0, width, 0), kMessageFlags, message_->text()).height();
  int ny = tiles().height();
  while (needed > messageHeight() && ny < kMaxTilesY) SetTiles(kTilesX, ++ny);

  message_->setGeometry(kMessageLeft, kMessageTop, width, messageHeight());
  const int rowTop = ButtonTop(kButtonHeight) - kGap - kRowHeight;
  bidLabel_->setGeometry(kBidLabelLeft, rowTop, kBidLabelWidth, kRowHeight);
  const int bidLeft = kBidLabelLeft + kBidLabelWidth + 2;
  bidField_->setGeometry(bidLeft, rowTop, kBidFieldWidth, kRowHeight);
  const int passwordLeft = bidLeft + kBidFieldWidth + kGap;
  passwordLabel_->setGeometry(passwordLeft, rowTop, kPasswordLabelWidth, kRowHeight);
  passwordField_->setGeometry(passwordLeft + kPasswordLabelWidth + 2, rowTop, kPasswordFieldWidth,
                              kRowHeight);
  PlaceButtons(kButtonHeight);
}

void AuctionDialog::PaintContent(QPainter& painter) {
  if (picture_ == nullptr || picture_->isNull()) return;
  const int group = game_.state.properties[auction_.property()].group;
  if (group < 0 || group > kJailCardGroup) return;
  painter.drawPixmap(message_->x() - kMarkerOffset, message_->y(), picture_->GroupMarker(group));
}

void AuctionDialog::Close() {
  closeTimer_.stop();
  bidTimer_.stop();
  done(auction_.highestBidder());
}

}  // namespace tomtura
