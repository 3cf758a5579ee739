#include "rules/music_order.h"

namespace tomtura {

// Each piece k goes to a random position, or the next free one after it.
void MusicOrder::Shuffle() {
  for (int k = 0; k < kPieces; ++k) {
    int i = random_.Rand() % kPieces;
    while (order_[static_cast<std::size_t>(i)] != 0) i = (i + 1) % kPieces;
    order_[static_cast<std::size_t>(i)] = k + 1;
  }
  shuffled_ = true;
}

int MusicOrder::Next() {
  if (!shuffled_) Shuffle();
  position_ = (position_ + 1) % kPieces;
  return order_[static_cast<std::size_t>(position_)] - 1;
}

std::string MusicFileName(int piece) {
  return "tomtura" + std::to_string(piece) + ".mid";
}

}  // namespace tomtura
