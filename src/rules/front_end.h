#pragma once
// The small interface through which the rules reach everything outside the core: the dialogs
// in which a person at this computer answers, the showing of a computer player's answer,
// message boxes, the two timers, sounds and redraws. The Qt windows implement it; so does the
// headless front end of tests, the simulator and benchmarks. Each call returns only when its
// answer is known, as a modal dialog does.
#include <string>

#include "rules/decision.h"

namespace tomtura {

class Auction;

enum class MessageIcon { Information, Exclamation, Error, Stop };

class FrontEnd {
 public:
  virtual ~FrontEnd() = default;

  // ---- Dialogs (modal) ----
  // A person at this computer answers `request` in its dialog: the question, the password,
  // a consent, a turn or the closing of the auction, the play window. The dialog only shows
  // the request and returns what was pressed; passwords and bids are checked with the
  // referee's checks before they are returned.
  virtual Decision AskPerson(const DecisionRequest& request) = 0;
  // Shows the table an answer given without a dialog here, for request.answerDelayMs: a computer
  // player's, or a player's at another computer. The question shows with only the chosen
  // button, the auction with the bid.
  virtual void ShowAnswer(const DecisionRequest& request, const Decision& answer) = 0;
  // The auction window is open from its first turn to its closing.
  virtual void AuctionOpened(const Auction& auction) = 0;
  virtual void AuctionClosed() = 0;
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
