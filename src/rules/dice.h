#pragma once
// Where the dice of a throw come from. Alone at one computer they are drawn from the game's
// random source at the moment the animation shows them; in a network game the host draws them
// and every other computer takes the host's.
#include <cstdint>
#include <functional>
#include <utility>

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

// The host of a network game: it draws each throw's dice when the throw begins and hands them
// to `send`, which passes them to the other computers.
class HostDice : public DiceSource {
 public:
  HostDice(Random& rng, std::function<void(const Dice&)> send)
      : rng_(rng), send_(std::move(send)) {}
  bool Begin() override;
  Dice Faces() override { return faces_; }

 private:
  Random& rng_;
  std::function<void(const Dice&)> send_;
  Dice faces_;
};

// A computer that joined a network game: a throw asks the host for its dice (`request`) and
// shows when Deliver has brought them and Game::DiceArrived has been called.
class ClientDice : public DiceSource {
 public:
  explicit ClientDice(std::function<void()> request) : request_(std::move(request)) {}
  bool Begin() override;
  Dice Faces() override { return faces_; }
  // The host's dice; false (and nothing kept) when a face is not 1 to 6.
  bool Deliver(const Dice& dice);

 private:
  std::function<void()> request_;
  Dice faces_;
};

// The faces the dice show before the first throw of a program started with `seed`; drawn
// apart from the game's random source, so that they change nothing of the game.
Dice StartingFaces(std::uint64_t seed);

}  // namespace tomtura
