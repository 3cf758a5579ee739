#include "rules/dice.h"

#include <utility>

#include "data/random.h"

namespace tomtura {

namespace {
constexpr int kDieFaces = 6;
constexpr std::uint64_t kStartingFacesSalt = 0xD1CE'5EED'0000'0001ull;
}  // namespace

Dice LocalDice::Faces() {
  Dice dice;
  dice.die1 = rng_.Rand() % kDieFaces + 1;
  dice.die2 = rng_.Rand() % kDieFaces + 1;
  return dice;
}

bool HostDice::Begin() {
  faces_ = LocalDice(rng_).Faces();
  if (send_) send_(faces_);
  return true;
}

bool ClientDice::Begin() {
  if (request_) request_();
  return false;
}

bool ClientDice::Deliver(const Dice& dice) {
  const auto face = [](int value) { return value >= 1 && value <= kDieFaces; };
  if (!face(dice.die1) || !face(dice.die2)) return false;
  faces_ = dice;
  return true;
}

Dice StartingFaces(std::uint64_t seed) {
  Random shown(seed ^ kStartingFacesSalt);
  return LocalDice(shown).Faces();
}

}  // namespace tomtura
