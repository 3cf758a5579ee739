#pragma once
// The three kinds of seat: a person at this computer answers in the front end's dialogs, a
// computer player by the core's rules (and the table is shown his answer for a moment), and a
// player at another computer through whatever brings his answers here.
#include "rules/decision.h"

namespace tomtura {

class Game;

// The computer's answer to any request, by the rules of the computer player.
Decision ComputerDecision(Game& game, const DecisionRequest& request);

class LocalPersonSeat : public Seat {
 public:
  explicit LocalPersonSeat(Game& game) : game_(game) {}
  Decision Decide(const DecisionRequest& request) override;

 private:
  Game& game_;
};

class ComputerSeat : public Seat {
 public:
  explicit ComputerSeat(Game& game) : game_(game) {}
  Decision Decide(const DecisionRequest& request) override;
  bool computer() const override { return true; }

 private:
  Game& game_;
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
