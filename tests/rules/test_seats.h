#pragma once
// A stand-in for the network in rule tests: a player at another computer.
#include "rules/decision.h"

namespace tomtura::turn_test {

// A player at another computer, in tests that only need to know that he is elsewhere.
class ElsewhereSeat : public Seat {
 public:
  Decision Decide(const DecisionRequest&) override { return {}; }
  bool remote() const override { return true; }
};

}  // namespace tomtura::turn_test
