#pragma once
// Stand-ins for the network in rule tests: a player elsewhere, and dice that are still to come.
#include "rules/decision.h"
#include "rules/dice.h"

namespace tomtura::turn_test {

// A player at another computer, in tests that only need to know that he is elsewhere.
class ElsewhereSeat : public Seat {
 public:
  Decision Decide(const DecisionRequest&) override { return {}; }
  bool remote() const override { return true; }
};

// The dice of a computer that asked the host for them and waits.
class WaitingDice : public DiceSource {
 public:
  bool Begin() override { return false; }
  Dice Faces() override { return {}; }
};

}  // namespace tomtura::turn_test
