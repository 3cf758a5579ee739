#pragma once
// The login dialogs: the password dialog, in which the player whose turn begins gives his
// password, and the consent dialog, in which another player accepts or refuses a deal and, when
// he has a password, confirms his acceptance with it. Both show a message, a password field
// and two buttons, check the password with the referee and return what was pressed.
#include <QLabel>
#include <QLineEdit>
#include <string>

#include "rules/decision.h"
#include "ui/framed_dialog.h"

namespace tomtura {

class LoginDialog : public FramedDialog {
  Q_OBJECT

 public:
  QLabel* message() const { return message_; }
  QLabel* passwordLabel() const { return passwordLabel_; }
  QLineEdit* passwordField() const { return passwordField_; }

 protected:
  LoginDialog(Game& game, const DecisionRequest& request, const BoardPicture* picture,
              QWidget* parent);
  // Sets the message and sizes the dialog to show it whole, at least nx x ny tiles.
  void Arrange(const QString& text, int nx, int ny);
  // False (with text 57 shown and the field selected for another try) when the field does not
  // hold the answering player's password.
  bool CheckPassword();

  DecisionRequest request_;
  QLabel* message_ = nullptr;
  QLabel* passwordLabel_ = nullptr;
  QLineEdit* passwordField_ = nullptr;
};

// The current player's password. Result 1 when it was given right; 0 when the player
// cancelled.
class PasswordDialog : public LoginDialog {
  Q_OBJECT

 public:
  static constexpr int kTilesX = 5;
  static constexpr int kTilesY = 2;

  PasswordDialog(Game& game, const DecisionRequest& request, const BoardPicture* picture,
                 QWidget* parent);

  void PressOk();
  void reject() override;
};

// The consent of the asked player to the offer. Result 1 for acceptance, 0 for refusal; Enter
// refuses, so that no deal is made by accident.
class ConsentDialog : public LoginDialog {
  Q_OBJECT

 public:
  static constexpr int kTilesX = 5;
  static constexpr int kTilesY = 3;

  ConsentDialog(Game& game, const DecisionRequest& request, const BoardPicture* picture,
                QWidget* parent);

  int asked() const { return request_.player; }
  void PressYes();
  void reject() override;

 private:
  bool hasPassword_;
};

}  // namespace tomtura
