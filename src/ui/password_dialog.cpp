#include "ui/password_dialog.h"

#include <QFontMetrics>
#include <QPushButton>
#include <algorithm>

#include "data/text_ids.h"
#include "rules/game.h"
#include "ui/control_ids.h"
#include "ui/fonts.h"

namespace tomtura {
namespace {

constexpr int kMargin = 14;  // clear of the frame tiles
constexpr int kGap = 6;
constexpr int kRowHeight = 22;
constexpr int kLabelWidth = 70;
constexpr int kFieldWidth = 70;
constexpr int kPasswordButtonHeight = 23;

constexpr int kMessageFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;

}  // namespace

// ---- LoginDialog -------------------------------------------------------------------------------

LoginDialog::LoginDialog(Game& game, const DecisionRequest& request, const BoardPicture* picture,
                         QWidget* parent)
    : FramedDialog(game, picture, parent,
                   Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      request_(request) {
  setWindowTitle(tr("Tomtura - Login"));
  message_ = MakeMessage(Qt::AlignCenter);
  const PasswordRow password = MakePasswordRow(tr("&Password:"));
  passwordLabel_ = password.label;
  passwordField_ = password.field;
  MakeButtons(tr("&OK"), tr("&Cancel"));
  setTabOrder(passwordField_, button1_);
  setTabOrder(button1_, button2_);
}

// The message on top, the password row under it when it is shown, the buttons at the bottom;
// the tiles grow (wider first) until the message fits whole.
void LoginDialog::Arrange(const QString& text, int nx, int ny) {
  message_->setText(text);
  const bool passwordShown = !passwordField_->isHidden();
  const int rows = passwordShown ? kGap + kRowHeight : 0;
  const QFontMetrics metrics(DialogFont());

  int width = 0;
  int messageHeight = 0;
  bool fits = false;
  for (int tilesY = ny; tilesY <= kMaxTilesY && !fits; ++tilesY) {
    for (int tilesX = nx; tilesX <= kMaxTilesX && !fits; ++tilesX) {
      SetTiles(tilesX, tilesY);
      width = this->width() - 2 * kMargin;
      messageHeight = ButtonTop(kPasswordButtonHeight) - kGap - rows - kMargin;
      const QRect needed = metrics.boundingRect(QRect(0, 0, width, 0), kMessageFlags, text);
      fits = needed.height() <= messageHeight;
    }
  }
  message_->setGeometry(kMargin, kMargin, width, messageHeight);

  int top = kMargin + messageHeight + kGap;
  if (passwordShown) {
    const int left = (this->width() - kLabelWidth - kGap - kFieldWidth) / 2;
    passwordLabel_->setGeometry(left, top, kLabelWidth, kRowHeight);
    passwordField_->setGeometry(left + kLabelWidth + kGap, top, kFieldWidth, kRowHeight);
  }
  PlaceButtons(kPasswordButtonHeight);
}

bool LoginDialog::CheckPassword() {
  if (game_.referee.PasswordAccepted(request_, passwordField_->text().toStdString())) return true;
  ShowError(kTextWrongPassword);
  FocusSelected(passwordField_);
  return false;
}

// ---- PasswordDialog ----------------------------------------------------------------------------

PasswordDialog::PasswordDialog(Game& game, const DecisionRequest& request,
                               const BoardPicture* picture, QWidget* parent)
    : LoginDialog(game, request, picture, parent) {
  button1_->setDefault(true);
  connect(button1_, &QPushButton::clicked, this, &PasswordDialog::PressOk);
  connect(button2_, &QPushButton::clicked, this, &PasswordDialog::reject);
  Arrange(QString::fromStdString(request.text), kTilesX, kTilesY);
  passwordField_->setFocus(Qt::OtherFocusReason);
}

void PasswordDialog::PressOk() {
  if (!CheckPassword()) return;
  done(1);
}

void PasswordDialog::reject() {
  done(0);
}

// ---- ConsentDialog -----------------------------------------------------------------------------

ConsentDialog::ConsentDialog(Game& game, const DecisionRequest& request,
                             const BoardPicture* picture, QWidget* parent)
    : LoginDialog(game, request, picture, parent), hasPassword_(game.referee.HasPassword(request)) {
  button1_->setText(QString::fromStdString(game_.Text(kTextYes)));
  button2_->setText(QString::fromStdString(game_.Text(kTextNo)));
  button2_->setDefault(true);
  connect(button1_, &QPushButton::clicked, this, &ConsentDialog::PressYes);
  connect(button2_, &QPushButton::clicked, this, &ConsentDialog::reject);
  setWindowTitle(QString::fromStdString(request.title));

  ShowControl(passwordLabel_, hasPassword_);
  ShowControl(passwordField_, hasPassword_);
  Arrange(QString::fromStdString(request.text), kTilesX, kTilesY);
  if (hasPassword_) {
    passwordField_->setFocus(Qt::OtherFocusReason);
  } else {
    button2_->setFocus(Qt::OtherFocusReason);
  }
}

void ConsentDialog::PressYes() {
  if (hasPassword_ && !CheckPassword()) return;
  done(1);
}

void ConsentDialog::reject() {
  done(0);
}

}  // namespace tomtura
