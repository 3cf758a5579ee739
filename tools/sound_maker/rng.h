#pragma once
// A small fixed-seed pseudo-random generator (xorshift32). Its own arithmetic, unlike the
// standard distributions, gives the same numbers with every compiler, so the files come out
// byte for byte the same wherever they are made.
#include <cstdint>

namespace tomtura::sound_maker {

class Rng {
 public:
  explicit Rng(std::uint32_t seed) : state_(seed == 0 ? 0x9E3779B9u : seed) {}

  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  // 0 .. n-1 (n > 0).
  int Below(int n) { return int(Next() % std::uint32_t(n)); }
  // True with the given chance in percent.
  bool Percent(int chance) { return Below(100) < chance; }
  // Uniform in [-1, 1).
  double Signed() { return double(Next()) / 2147483648.0 - 1.0; }

 private:
  std::uint32_t state_;
};

}  // namespace tomtura::sound_maker
