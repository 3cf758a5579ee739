#include "rules/dice.h"

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

Dice StartingFaces(std::uint64_t seed) {
  Random shown(seed ^ kStartingFacesSalt);
  return LocalDice(shown).Faces();
}

}  // namespace tomtura
