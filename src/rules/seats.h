#pragma once
// The three kinds of seat: a person at this computer answers in the front end's dialogs, a
// computer player by the core's rules (and the table is shown his answer for a moment), and a
// player at another computer through whatever brings his answers here.
#include "rules/decision.h"

namespace tomtura {

class Game;

// The computer's answer to any request, by the rules of the computer player.
Decision ComputerDecision(Game& game, const DecisionRequest& request);

// The computer's dealing as a play window's, for the player on turn: sketched on the live
// tables, moved to the window's working copies (whose commit applies it as outcomes and sends
// it to the other computers) and the live tables put back. OK when it changed anything, else
// Cancel.
Decision ComputerDealsInPlayWindow(Game& game);

class LocalPersonSeat : public Seat {
 public:
  explicit LocalPersonSeat(Game& game) : game_(game) {}
  Decision Decide(const DecisionRequest& request) override;

 private:
  Game& game_;
};

// A computer player: its rules answer; in the play window it deals as it would at the start of
// its turn. In a network game, where its deals must go through the play window to reach the
// other computers, it answers a debt question by going there to raise money for as long as
// that raises some, as a person does.
class ComputerSeat : public Seat {
 public:
  explicit ComputerSeat(Game& game) : game_(game) {}
  Decision Decide(const DecisionRequest& request) override;
  bool computer() const override { return true; }

 private:
  Game& game_;
  int debtAsks_ = 0;              // debt questions of the debt being settled
  bool lastWindowDealt_ = false;  // the last play window changed something
};

// Where the answers of players at other computers come from: a network connection, or in
// tests an in-memory pipe. Await returns when the answer to `request` has arrived.
class RemoteInbox {
 public:
  virtual ~RemoteInbox() = default;
  virtual Decision Await(const DecisionRequest& request) = 0;
};

class RemoteSeat : public Seat {
 public:
  explicit RemoteSeat(RemoteInbox& inbox) : inbox_(inbox) {}
  Decision Decide(const DecisionRequest& request) override { return inbox_.Await(request); }
  bool remote() const override { return true; }

 private:
  RemoteInbox& inbox_;
};

}  // namespace tomtura
