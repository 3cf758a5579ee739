#pragma once
// The small interface through which the rules reach everything outside the core: dialogs that
// wait for a person's answer, message boxes, the two timers, sounds and redraws. The Qt
// windows implement it; so does the headless front end of tests, the simulator and benchmarks.
// Each call returns only when its answer is known, as a modal dialog does.
#include <string>

namespace tomtura {

class Game;

enum class MessageIcon { Information, Exclamation, Error, Stop };

struct QuestionParams {
  std::string text;         // UTF-8
  bool twoButtons = false;  // false: a notice with one button
};

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  // ---- Dialogs (modal) ----
  // The question dialog: 1 = button 1, 2 = button 2. For a computer player it answers itself
  // with the core's decision (QuestionLayout in trade/dialogs.h).
  virtual int AskQuestion(const QuestionParams& question) = 0;
  // The password dialog for the current player: true when the right password was given
  // (turnPhase becomes AwaitRoll), false when cancelled (turnPhase becomes AwaitLogin).
  virtual bool AskPassword() = 0;
  // The consent dialog for state.consentPlayer with the offer text: true = accepted.
  virtual bool AskConsent(const std::string& offer) = 0;
  // The auction of the property on the current player's square; returns the winner, who has
  // already paid.
  virtual int RunAuction() = 0;
  // The play window on `page` (0..5): 1 after OK, 2 after Cancel.
  virtual int OpenPlayWindow(int page) = 0;
  // A message box titled with text 0.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;

  // ---- Timers ----
  virtual void StartDiceTimer(int ms) = 0;  // main window, 100 ms ticks -> Game::DiceTick
  virtual void StopDiceTimer() = 0;
  virtual void StartWalkTimer(int ms) = 0;  // board view -> Game::WalkTick
  virtual void StopWalkTimer() = 0;

  // ---- Sound ----
  // Sound n (0..9); sound 8 returns only when it has played to its end.
  virtual void PlaySoundEffect(int n) = 0;

  // ---- Redraws ----
  virtual void DiceChanged() = 0;          // draw the dice from diceFrame, die1, die2
  // After one step of the current token: (fromX, fromY) is where it stood before the step
  // (for a step from GO, each coordinate the smaller of that and its GO place).
  virtual void TokenStepped(int fromX, int fromY) = 0;
  virtual void BoardChanged() = 0;         // owners, mortgages or buildings changed
  virtual void PanelChanged() = 0;         // money, names or the property lists changed
  virtual void StatusLineChanged() = 0;
  virtual void CentreOnCurrentPlayer() = 0;  // the refresh message to board view and panel
  virtual void TurnEnded() = 0;            // hide the Roll button's hover text
  virtual void FocusRollButton() = 0;
  virtual void Beep() = 0;
  virtual void MenusChanged() {}           // network state or options changed their menu items

  // ---- Network ----
  virtual void SetReadingSuspended(bool) {}
};

}  // namespace tomtura
