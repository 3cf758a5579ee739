#pragma once
// The rules' front end on the Qt windows: modal dialogs and message boxes, the dice timer of
// the main window and the walk timer of the board view, sounds, and redraws forwarded to the
// windows. While one of our modal dialogs is open (`modalOpen`) both timers are held, so the
// game neither moves on behind a dialog nor spends a timer tick while it waits for input.
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>

#include "rules/front_end.h"

class QDialog;

namespace tomtura {

class AuctionDialog;
class Game;
class QuestionDialog;
class MainWindow;
class SoundEffects;

// One of the game's timers. The rules start and stop it; while it is held it keeps what the
// rules asked for but delivers no ticks, and resumes when released.
class GameTimer {
 public:
  explicit GameTimer(std::function<void()> tick);
  void Start(int ms);
  void Stop();
  void SetHeld(bool held);
  // Tests play at a quicker pace: every interval becomes `ms` (-1 restores the real ones).
  void SetIntervalOverride(int ms);

  bool running() const { return wanted_; }            // as the rules see it
  bool ticking() const { return timer_.isActive(); }  // really delivering ticks
  int interval() const { return interval_; }

 private:
  void Apply();

  QTimer timer_;
  bool wanted_ = false;
  bool held_ = false;
  int interval_ = 0;
  int override_ = -1;
};

class QtFrontEnd : public FrontEnd {
 public:
  QtFrontEnd();
  ~QtFrontEnd() override;
  QtFrontEnd(const QtFrontEnd&) = delete;
  QtFrontEnd& operator=(const QtFrontEnd&) = delete;

  // Connects the front end to the game and its window; until then redraws go nowhere.
  void Attach(Game& game, MainWindow& window, SoundEffects* sound);
  void Detach();

  // ---- FrontEnd ----
  Decision AskPerson(const DecisionRequest& request) override;
  void ShowAnswer(const DecisionRequest& request, const Decision& answer) override;
  void ShowAuction(const Auction* auction) override;
  void ShowMessage(const std::string& text, MessageIcon icon) override;
  void StartTimer(GameTimerId timer, int ms) override;
  void StopTimer(GameTimerId timer) override;
  void PlaySoundEffect(int n) override;
  void Changed(const Changes& changes) override;

  // A command that does not fit the moment.
  void Beep();

  // The question or auction turn of a player at another computer, on show without a button to
  // press while his answer is awaited; ShowAnswer then shows the answer in it.
  void ShowAwaited(const DecisionRequest& request);
  // A question on show for an answer that will not come (the network game ended) goes.
  void CloseAwaited();
  QuestionDialog* awaitedQuestion() const { return awaited_.get(); }

  // ---- Modal dialogs of the game ----
  // Runs `dialog` modally with `modalOpen` set and both timers held; returns its result. The
  // auction dialog, open for the whole auction, is not run again but waited on for one turn.
  // The question, consent and auction dialogs are modal to the game only: they stand beside the
  // main window, which can still be looked at while its commands are refused.
  int RunModal(QDialog& dialog);
  // A question, consent or auction dialog is open beside the main window.
  bool dialogBesideOpen() const { return besideDepth_ > 0 || auction_ != nullptr; }
  // A message box titled with text 0; returns the button chosen.
  QMessageBox::StandardButton Ask(const QString& text, QMessageBox::Icon icon,
                                  QMessageBox::StandardButtons buttons);
  bool modalOpen() const { return modalDepth_ > 0; }

  GameTimer& diceTimer() { return dice_; }
  GameTimer& walkTimer() { return walk_; }
  int beepCount() const { return beeps_; }

  // The auction dialog while an auction runs.
  AuctionDialog* auctionDialog() const { return auction_.get(); }

  // Tests answer modal dialogs without showing them, and shorten every timer interval. The
  // runner is given each dialog, and the auction dialog once per turn.
  using ModalRunner = std::function<int(QDialog&)>;
  void SetModalRunner(ModalRunner runner) { runner_ = std::move(runner); }
  void SetTimerIntervalOverride(int ms);

 private:
  void Tick(bool dice);
  int RunBeside(QDialog& dialog);
  void HoldTimers();
  void ReleaseTimers();

  Game* game_ = nullptr;
  MainWindow* window_ = nullptr;
  SoundEffects* sound_ = nullptr;
  GameTimer dice_;
  GameTimer walk_;
  int modalDepth_ = 0;
  int besideDepth_ = 0;
  int beeps_ = 0;
  bool inTick_ = false;
  ModalRunner runner_;
  std::unique_ptr<AuctionDialog> auction_;
  std::unique_ptr<QuestionDialog> awaited_;
};

}  // namespace tomtura
