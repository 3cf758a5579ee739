// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/qt_front_end.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QToolTip>
#include <QWindow>

#include "data/text_ids.h"
#include "rules/game.h"
#include "sound/sound.h"
#include "ui/auction_dialog.h"
#include "ui/balloon_tips.h"
#include "ui/framed_dialog.h"
#include "ui/main_window.h"
#include "ui/password_dialog.h"
#include "ui/play_window.h"
#include "ui/question_dialog.h"

namespace tomtura {
namespace {

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

// The game's dialogs stand over whichever of our windows is in front.
QWidget* DialogOwner(MainWindow* window) {
  QWidget* front = QApplication::activeModalWidget();
  return front != nullptr ? front : window;
}

const BoardPicture* DialogPicture(MainWindow* window) {
  return window != nullptr ? &window->picture() : nullptr;
}

// The question and consent dialogs, like the auction's, stand beside the main window rather
// than block it: the board can be scrolled and the panel read before deciding, while the turn
// phase refuses the window's commands.
bool StandsBeside(QDialog& dialog) {
  return dynamic_cast<QuestionDialog*>(&dialog) != nullptr ||
         dynamic_cast<ConsentDialog*>(&dialog) != nullptr;
}

// Makes `dialog` stand beside the main window: not modal, kept above the window, over its
// middle. One owned by the main window becomes a window of its own, so that the keys typed into
// it are not taken for the window's shortcuts, and it does not keep the program going once the
// window is closed. One owned by a modal window (the play window) stays that window's.
void StandBeside(QDialog& dialog, QWidget* mainWindow) {
  dialog.setWindowModality(Qt::NonModal);
  if (mainWindow == nullptr || dialog.parentWidget() != mainWindow) return;
  // A new parent takes the focus from the control that had it; it is given back.
  QWidget* focus = dialog.focusWidget();
  dialog.setParent(nullptr, dialog.windowFlags());
  if (focus != nullptr) focus->setFocus(Qt::OtherFocusReason);
  dialog.setAttribute(Qt::WA_QuitOnClose, false);
  dialog.winId();
  if (dialog.windowHandle() != nullptr) {
    dialog.windowHandle()->setTransientParent(mainWindow->windowHandle());
  }
  dialog.move(mainWindow->geometry().center() - dialog.rect().center());
}

// A dialog's error boxes run as our modal dialogs too, over the dialog that shows them.
void RouteErrorBoxes(QtFrontEnd& ui, const Game& game, FramedDialog& dialog) {
  dialog.SetErrorBox([&ui, &game, &dialog](const QString& text) {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(game.Text(kTextBoxTitle)), text,
                    QMessageBox::Ok, &dialog);
    ui.RunModal(box);
  });
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

Decision QtFrontEnd::AskPerson(const DecisionRequest& request) {
  // Before the window is there nobody can answer: a password counts as given, all else as no.
  if (game_ == nullptr) return {request.kind == DecisionKind::Login ? 1 : 0, 0, nullptr};
  QWidget* owner = DialogOwner(window_);
  const BoardPicture* picture = DialogPicture(window_);
  switch (request.kind) {
    case DecisionKind::Question: {
      QuestionDialog dialog(*game_, request, picture, owner);
      return {RunModal(dialog), 0, nullptr};
    }
    case DecisionKind::Login: {
      PasswordDialog dialog(*game_, request, picture, owner);
      RouteErrorBoxes(*this, *game_, dialog);
      return {RunModal(dialog) == 1 ? 1 : 2, 0, nullptr};
    }
    case DecisionKind::Consent: {
      ConsentDialog dialog(*game_, request, picture, owner);
      RouteErrorBoxes(*this, *game_, dialog);
      return {RunModal(dialog) == 1 ? 1 : 2, 0, nullptr};
    }
    case DecisionKind::AuctionBid:
    case DecisionKind::AuctionClose: {
      if (auction_ == nullptr) return {2, 0, nullptr};
      auction_->ShowTurn(request);
      // A dialog closed without an answer passes, or closes the auction.
      if (RunModal(*auction_) == 0 && auction_->answer().button == 0) return {2, 0, nullptr};
      return auction_->answer();
    }
    case DecisionKind::PlayWindow: {
      // Over whichever of our windows is in front.
      if (window_ == nullptr || request.deals == nullptr) return {kPlayWindowCancel, 0, nullptr};
      PlayWindow dialog(*game_, *request.deals, window_->picture(), request.page, owner);
      const int result = RunModal(dialog);
      window_->RedrawBoard();
      window_->RedrawPanel();
      return {result, 0, nullptr};
    }
  }
  return {};
}

void QtFrontEnd::ShowAnswer(const DecisionRequest& request, const Decision& answer) {
  if (game_ == nullptr) return;
  switch (request.kind) {
    case DecisionKind::Question: {
      if (std::unique_ptr<QuestionDialog> awaited = std::move(awaited_)) {
        awaited->ShowChosen(answer);
        RunModal(*awaited);
        return;
      }
      QuestionDialog dialog(*game_, request, DialogPicture(window_), DialogOwner(window_), answer);
      RunModal(dialog);
      return;
    }
    case DecisionKind::AuctionBid:
    case DecisionKind::AuctionClose:
      if (auction_ == nullptr) return;
      auction_->ShowComputerMove(request, answer);
      RunModal(*auction_);
      return;
    default:
      return;
  }
}

void QtFrontEnd::ShowAwaited(const DecisionRequest& request) {
  if (game_ == nullptr) return;
  switch (request.kind) {
    case DecisionKind::Question:
      awaited_ = std::make_unique<QuestionDialog>(*game_, request, DialogPicture(window_),
                                                  DialogOwner(window_));
      awaited_->AwaitRemote();
      InstallTooltips(*awaited_, *game_);
      StandBeside(*awaited_, window_);
      awaited_->show();
      return;
    case DecisionKind::AuctionBid:
    case DecisionKind::AuctionClose:
      if (auction_ != nullptr) auction_->ShowRemoteTurn(request);
      return;
    default:
      return;
  }
}

void QtFrontEnd::CloseAwaited() {
  awaited_.reset();
}

void QtFrontEnd::ShowAuction(const Auction* auction) {
  if (auction == nullptr) {
    if (auction_ == nullptr) return;
    auction_->hide();
    auction_.reset();
    ReleaseTimers();
    return;
  }
  if (game_ == nullptr) return;
  auction_ = std::make_unique<AuctionDialog>(*game_, *auction, DialogPicture(window_),
                                             DialogOwner(window_));
  RouteErrorBoxes(*this, *game_, *auction_);
  HoldTimers();
  StandBeside(*auction_, window_);
  auction_->show();
}

void QtFrontEnd::ShowMessage(const std::string& text, MessageIcon icon) {
  Ask(QString::fromStdString(text), BoxIcon(icon), QMessageBox::Ok);
}

void QtFrontEnd::StartTimer(GameTimerId timer, int ms) {
  (timer == GameTimerId::Dice ? dice_ : walk_).Start(ms);
}

void QtFrontEnd::StopTimer(GameTimerId timer) {
  (timer == GameTimerId::Dice ? dice_ : walk_).Stop();
}

void QtFrontEnd::PlaySoundEffect(int n) {
  if (sound_ != nullptr && game_ != nullptr) {
    sound_->PlaySoundEffect(n, game_->state.settings.soundOn != 0);
  }
}

void QtFrontEnd::Changed(const Changes& changes) {
  if (changes.has(Changes::kBeep)) Beep();
  if (changes.has(Changes::kTurnEnded)) QToolTip::hideText();
  if (window_ == nullptr) return;
  if (changes.has(Changes::kDice)) window_->RedrawDice();
  if (changes.has(Changes::kTokenStep)) window_->TokenStepped(changes.fromX, changes.fromY);
  if (changes.has(Changes::kBoard)) window_->RedrawBoard();
  if (changes.has(Changes::kPanel)) window_->RedrawPanel();
  if (changes.has(Changes::kStatusLine)) window_->RedrawStatusLine();
  if (changes.has(Changes::kCentre)) window_->CentreOnCurrentPlayer();
  if (changes.has(Changes::kTurnEnded)) window_->RefreshLog();
  if (changes.has(Changes::kFocusRoll)) window_->FocusRollButton();
  if (changes.has(Changes::kMenus)) window_->UpdateMenus();
  if (changes.has(Changes::kGameOver)) window_->OfferStatistics();
}

void QtFrontEnd::Beep() {
  ++beeps_;
  QApplication::beep();
}

void QtFrontEnd::HoldTimers() {
  if (++modalDepth_ == 1) {
    dice_.SetHeld(true);
    walk_.SetHeld(true);
  }
}

void QtFrontEnd::ReleaseTimers() {
  if (--modalDepth_ == 0) {
    dice_.SetHeld(false);
    walk_.SetHeld(false);
  }
}

int QtFrontEnd::RunModal(QDialog& dialog) {
  if (game_ != nullptr) InstallTooltips(dialog, *game_);
  if (auto* box = qobject_cast<QMessageBox*>(&dialog)) WidenForTitle(*box);
  HoldTimers();
  int result = 0;
  if (runner_) {
    result = runner_(dialog);
  } else if (auto* auction = qobject_cast<AuctionDialog*>(&dialog)) {
    result = auction->Await();
  } else if (StandsBeside(dialog)) {
    result = RunBeside(dialog);
  } else {
    result = dialog.exec();
  }
  ReleaseTimers();
  return result;
}

// As exec() does, but without blocking the main window: a loop of its own until the dialog is
// done.
int QtFrontEnd::RunBeside(QDialog& dialog) {
  StandBeside(dialog, window_);
  QEventLoop loop;
  QObject::connect(&dialog, &QDialog::finished, &loop, &QEventLoop::quit);
  dialog.show();
  dialog.raise();
  // Asked for once the window system has shown it; asked at once, it may be lost.
  QTimer::singleShot(0, &dialog, [&dialog] { dialog.activateWindow(); });
  ++besideDepth_;
  loop.exec(QEventLoop::DialogExec);
  --besideDepth_;
  dialog.hide();
  return dialog.result();
}

QMessageBox::StandardButton QtFrontEnd::Ask(const QString& text, QMessageBox::Icon icon,
                                            QMessageBox::StandardButtons buttons) {
  const QString title =
      game_ != nullptr ? QString::fromStdString(game_->Text(kTextBoxTitle)) : QString();
  QMessageBox box(icon, title, text, buttons, window_);
  return static_cast<QMessageBox::StandardButton>(RunModal(box));
}

void QtFrontEnd::SetTimerIntervalOverride(int ms) {
  dice_.SetIntervalOverride(ms);
  walk_.SetIntervalOverride(ms);
}

}  // namespace tomtura
