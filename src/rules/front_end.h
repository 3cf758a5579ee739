#pragma once
// The small interface through which the rules reach everything outside the core: the dialogs
// in which a person at this computer answers, the showing of a computer player's answer,
// message boxes, the two timers, sounds, and what changed for the windows to show. The Qt windows
// implement it; so does the headless front end of tests, the simulator and benchmarks. Each call
// returns only when its answer is known, as a modal dialog does.
#include <string>

#include "rules/decision.h"

namespace tomtura {

class Auction;

enum class MessageIcon { Information, Exclamation, Error, Stop };

// The game's two timers: the dice animation of the main window (Game::DiceTick) and the token's
// walk on the board view (Game::WalkTick).
enum class GameTimerId { Dice, Walk };

// What has changed since the windows last showed the game; several things at once.
struct Changes {
  enum : unsigned {
    kDice = 1u << 0,       // draw the dice from diceFrame, die1, die2
    kTokenStep = 1u << 1,  // one step of the current token, from (fromX, fromY)
    kBoard = 1u << 2,      // owners, mortgages or buildings
    kPanel = 1u << 3,      // money, names or the property lists
    kStatusLine = 1u << 4,
    kCentre = 1u << 5,     // scroll the board to the current player's token
    kTurnEnded = 1u << 6,  // the turn is settled: hide the Roll button's hover text
    kFocusRoll = 1u << 7,  // the Roll button takes the keyboard
    kMenus = 1u << 8,      // network state or options changed their menu items
    kBeep = 1u << 9,       // a command that does not fit the moment was refused
    kGameOver = 1u << 10,  // the winner has been named: the statistics may be offered
  };
  unsigned what = 0;
  // kTokenStep: where the token stood before the step (for a step from GO, each coordinate the
  // smaller of that and its GO place).
  int fromX = 0;
  int fromY = 0;

  bool has(unsigned flag) const { return (what & flag) != 0; }
};

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
  // The auction window is open from its first turn to its closing (nullptr: closed).
  virtual void ShowAuction(const Auction* auction) = 0;
  // A message box titled with text 0.
  virtual void ShowMessage(const std::string& text, MessageIcon icon) = 0;

  // ---- Timers: each tick is one call into the game ----
  virtual void StartTimer(GameTimerId timer, int ms) = 0;
  virtual void StopTimer(GameTimerId timer) = 0;

  // ---- Sound ----
  // Sound n (0..9); sound 8 returns only when it has played to its end.
  virtual void PlaySoundEffect(int n) = 0;

  // ---- What the windows show ----
  virtual void Changed(const Changes& changes) = 0;
};

}  // namespace tomtura
