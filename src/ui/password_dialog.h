#pragma once
// The login dialogs: the password dialog, in which the player whose turn begins gives his
// password, and the consent dialog, in which another player accepts or refuses a deal and, when
// he has a password, confirms his acceptance with it. Both show a message, a password field
// and two buttons.
#include <QLabel>
#include <QLineEdit>
#include <string>

#include "data/game_state.h"
#include "ui/framed_dialog.h"

namespace tomtura {

class LoginDialog : public FramedDialog {
  Q_OBJECT

 public:
  QLabel* message() const { return message_; }
  QLabel* passwordLabel() const { return passwordLabel_; }
  QLineEdit* passwordField() const { return passwordField_; }

 protected:
  LoginDialog(Game& game, const BoardPicture* picture, QWidget* parent);
  // Sets the message and sizes the dialog to show it whole, at least nx x ny tiles.
  void Arrange(const QString& text, int nx, int ny);
  // False (with text 57 shown and the field selected for another try) when the field does not
  // hold `password`.
  bool CheckPassword(const Password& password);

  QLabel* message_ = nullptr;
  QLabel* passwordLabel_ = nullptr;
  QLineEdit* passwordField_ = nullptr;
};

// The current player's password. Result 1 and turnPhase AwaitRoll when it was right; 0 and
// AwaitLogin when the player cancelled.
class PasswordDialog : public LoginDialog {
  Q_OBJECT

 public:
  static constexpr int kTilesX = 5;
  static constexpr int kTilesY = 2;

  PasswordDialog(Game& game, const BoardPicture* picture, QWidget* parent);

  void PressOk();
  void reject() override;
};

// The consent of state.consentPlayer to the offer. Result 1 for acceptance, 0 for refusal;
// Enter refuses, so that no deal is made by accident. The asked player's name and password are
// read from the play window's copy of the players, filled from the live records when it is
// empty.
class ConsentDialog : public LoginDialog {
  Q_OBJECT

 public:
  static constexpr int kTilesX = 5;
  static constexpr int kTilesY = 3;

  ConsentDialog(Game& game, const std::string& offer, const BoardPicture* picture, QWidget* parent);
  ~ConsentDialog() override;

  int asked() const { return asked_; }
  void PressYes();
  void reject() override;

 private:
  int asked_;
  TurnPhase savedPhase_;
};

}  // namespace tomtura
