#pragma once
// Where the dice of a throw come from. Alone at one computer they are drawn from the game's
// random source at the moment the animation shows them; in a network game the host draws them
// and every other computer takes the host's.
#include <cstdint>

namespace tomtura {

class Random;

struct Dice {
  int die1 = 1;
  int die2 = 1;
};

class DiceSource {
 public:
  virtual ~DiceSource() = default;
  // The Roll command was accepted and the throw begins. True when the animation may start
  // now; false when the dice are still to come (a computer that asked the host for them),
  // and Game::DiceArrived starts it.
  virtual bool Begin() { return true; }
  // The faces of the throw, asked once per throw when the animation shows them.
  virtual Dice Faces() = 0;
};

// The dice of a game at one computer: two draws of the game's random source, in order.
class LocalDice : public DiceSource {
 public:
  explicit LocalDice(Random& rng) : rng_(rng) {}
  Dice Faces() override;

 private:
  Random& rng_;
};

// The faces the dice show before the first throw of a program started with `seed`; drawn
// apart from the game's random source, so that they change nothing of the game.
Dice StartingFaces(std::uint64_t seed);

}  // namespace tomtura
