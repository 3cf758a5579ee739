#pragma once
// The one random source of the game. Every draw of the rules (dice, deck shuffles, Jitter, the
// computer's variation) comes from here in a fixed order, so a game replays from its seed.
#include <cstdint>

namespace tomtura {

class Random {
 public:
  explicit Random(std::uint64_t seed = 1) { Seed(seed); }

  void Seed(std::uint64_t seed) {
    state_ = seed;
    for (int i = 0; i < 4; ++i) Next();  // spread small seeds
  }

  // A uniform number 0..0x7FFF, the range of the C library's rand().
  int Rand() { return static_cast<int>(Next() >> 49); }

 private:
  std::uint64_t Next() {  // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::uint64_t state_ = 0;
};

}  // namespace tomtura
