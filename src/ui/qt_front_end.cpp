#include "ui/qt_front_end.h"

#include <QApplication>
#include <QDialog>
#include <QToolTip>

#include "rules/game.h"
#include "sound/sound.h"
#include "trade/auction.h"
#include "trade/dialogs.h"
#include "ui/main_window.h"
#include "ui/play_window.h"

namespace tomtura {
namespace {

constexpr int kTitleText = 0;

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information:
      return QMessageBox::Information;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Error:
    case MessageIcon::Stop:
      return QMessageBox::Critical;
  }
  return QMessageBox::Information;
}

}  // namespace

// ---- GameTimer ---------------------------------------------------------------------------------

GameTimer::GameTimer(std::function<void()> tick) {
  QObject::connect(&timer_, &QTimer::timeout, std::move(tick));
}

void GameTimer::Start(int ms) {
  wanted_ = true;
  interval_ = ms;
  timer_.stop();  // a new start begins a full interval
  Apply();
}

void GameTimer::Stop() {
  wanted_ = false;
  Apply();
}

void GameTimer::SetHeld(bool held) {
  held_ = held;
  Apply();
}

void GameTimer::SetIntervalOverride(int ms) {
  override_ = ms;
  Apply();
}

void GameTimer::Apply() {
  if (!wanted_ || held_) {
    timer_.stop();
    return;
  }
  const int ms = override_ >= 0 ? override_ : interval_;
  if (!timer_.isActive() || timer_.interval() != ms) timer_.start(ms);
}

// ---- QtFrontEnd --------------------------------------------------------------------------------

QtFrontEnd::QtFrontEnd() : dice_([this] { Tick(true); }), walk_([this] { Tick(false); }) {}

QtFrontEnd::~QtFrontEnd() = default;

void QtFrontEnd::Attach(Game& game, MainWindow& window, SoundEffects* sound) {
  game_ = &game;
  window_ = &window;
  sound_ = sound;
}

void QtFrontEnd::Detach() {
  dice_.Stop();
  walk_.Stop();
  window_ = nullptr;
  sound_ = nullptr;
}

// A tick arrives only while no dialog of ours is open; the guard also keeps a tick from
// running inside another one should a nested event loop deliver it.
void QtFrontEnd::Tick(bool dice) {
  if (game_ == nullptr || modalOpen() || inTick_) return;
  inTick_ = true;
  if (dice) {
    game_->DiceTick();
  } else {
    game_->WalkTick();
  }
  inTick_ = false;
}

bool QtFrontEnd::PersonOnTurn() const {
  return game_ != nullptr && game_->state.current().isComputer == 0;
}

// Until the person's own dialogs exist, questions get the answer a computer player would give;
// a notice to a person is still shown, so that a game can be followed.
int QtFrontEnd::AskQuestion(const QuestionParams& question) {
  const QuestionLayout layout = DescribeQuestion(*game_, question);
  if (!question.twoButtons && PersonOnTurn()) {
    Ask(QString::fromStdString(question.text), QMessageBox::Information, QMessageBox::Ok);
    return 1;
  }
  return layout.computerAnswer;
}

bool QtFrontEnd::AskPassword() {
  return true;
}

bool QtFrontEnd::AskConsent(const std::string& /*offer*/) {
  return false;
}

int QtFrontEnd::RunAuction() {
  return RunComputerAuction(*game_);
}

// The play window over whichever of our windows is in front: the main window, or the question
// that sent the player to raise money.
int QtFrontEnd::OpenPlayWindow(int page) {
  if (game_ == nullptr || window_ == nullptr) return PlayWindow::kCancel;
  QWidget* owner = QApplication::activeModalWidget();
  PlayWindow dialog(*game_, window_->picture(), page, owner != nullptr ? owner : window_);
  const int result = RunModal(dialog);
  window_->RedrawBoard();
  window_->RedrawPanel();
  return result == PlayWindow::kOk || result == PlayWindow::kCannotPay ? result
                                                                        : PlayWindow::kCancel;
}

void QtFrontEnd::ShowMessage(const std::string& text, MessageIcon icon) {
  Ask(QString::fromStdString(text), BoxIcon(icon), QMessageBox::Ok);
}

void QtFrontEnd::StartDiceTimer(int ms) {
  dice_.Start(ms);
}
void QtFrontEnd::StopDiceTimer() {
  dice_.Stop();
}
void QtFrontEnd::StartWalkTimer(int ms) {
  walk_.Start(ms);
}
void QtFrontEnd::StopWalkTimer() {
  walk_.Stop();
}

void QtFrontEnd::PlaySoundEffect(int n) {
  if (sound_ != nullptr && game_ != nullptr) {
    sound_->PlaySoundEffect(n, game_->state.settings.soundOn != 0);
  }
}

void QtFrontEnd::DiceChanged() {
  if (window_ != nullptr) window_->RedrawDice();
}

void QtFrontEnd::TokenStepped(int fromX, int fromY) {
  if (window_ != nullptr) window_->TokenStepped(fromX, fromY);
}

void QtFrontEnd::BoardChanged() {
  if (window_ != nullptr) window_->RedrawBoard();
}

void QtFrontEnd::PanelChanged() {
  if (window_ != nullptr) window_->RedrawPanel();
}

void QtFrontEnd::StatusLineChanged() {
  if (window_ != nullptr) window_->RedrawStatusLine();
}

void QtFrontEnd::CentreOnCurrentPlayer() {
  if (window_ != nullptr) window_->CentreOnCurrentPlayer();
}

void QtFrontEnd::TurnEnded() {
  QToolTip::hideText();
  if (window_ != nullptr) window_->RefreshLog();
}

void QtFrontEnd::FocusRollButton() {
  if (window_ != nullptr) window_->FocusRollButton();
}

void QtFrontEnd::Beep() {
  ++beeps_;
  QApplication::beep();
}

void QtFrontEnd::MenusChanged() {
  if (window_ != nullptr) window_->UpdateMenus();
}

int QtFrontEnd::RunModal(QDialog& dialog) {
  if (++modalDepth_ == 1) {
    dice_.SetHeld(true);
    walk_.SetHeld(true);
  }
  const int result = runner_ ? runner_(dialog) : dialog.exec();
  if (--modalDepth_ == 0) {
    dice_.SetHeld(false);
    walk_.SetHeld(false);
  }
  return result;
}

QMessageBox::StandardButton QtFrontEnd::Ask(const QString& text, QMessageBox::Icon icon,
                                            QMessageBox::StandardButtons buttons) {
  const QString title =
      game_ != nullptr ? QString::fromStdString(game_->Text(kTitleText)) : QString();
  QMessageBox box(icon, title, text, buttons, window_);
  return static_cast<QMessageBox::StandardButton>(RunModal(box));
}

void QtFrontEnd::SetTimerIntervalOverride(int ms) {
  dice_.SetIntervalOverride(ms);
  walk_.SetIntervalOverride(ms);
}

}  // namespace tomtura
