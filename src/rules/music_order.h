#pragma once
// The order of the ten background pieces: shuffled once per run, at the first piece asked for,
// then walked round for as long as the program runs. Switching the music off and on goes on with
// the next position, not with a new order. The first piece of a run is the one at position 1.
#include <array>
#include <string>

#include "data/random.h"

namespace tomtura {

class MusicOrder {
 public:
  static constexpr int kPieces = 10;

  // `random` is the program's own source for the shuffle, not the game's: the music must not
  // change the draws a seeded game makes.
  explicit MusicOrder(Random random) : random_(random) {}

  // The next position; the piece (0..9) that plays there.
  int Next();

  // Pieces 1..10 by position, all 0 until the first Next().
  const std::array<int, kPieces>& order() const { return order_; }
  int position() const { return position_; }

 private:
  void Shuffle();

  Random random_;
  std::array<int, kPieces> order_{};
  int position_ = 0;
  bool shuffled_ = false;
};

// The file of music piece `piece` (0..9).
std::string MusicFileName(int piece);

}  // namespace tomtura
