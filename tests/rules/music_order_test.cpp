// The music's order: a permutation of the ten pieces made at the first piece asked for and kept
// for the run; the first piece is the one at position 1, and after position 9 comes 0.
#include "rules/music_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace tomtura {
namespace {

TEST(MusicOrder, ShuffledOnceThenWalkedRoundFromPositionOne) {
  MusicOrder music{Random(7)};
  EXPECT_EQ(music.order(), (std::array<int, 10>{}));
  const int first = music.Next();
  const std::array<int, 10> order = music.order();
  std::vector<int> sorted(order.begin(), order.end());
  std::sort(sorted.begin(), sorted.end());
  EXPECT_EQ(sorted, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(music.position(), 1);
  EXPECT_EQ(first, order[1] - 1);
  for (int position = 2; position < 10; ++position) EXPECT_EQ(music.Next(), order[position] - 1);
  EXPECT_EQ(music.Next(), order[0] - 1);
  EXPECT_EQ(music.position(), 0);
  EXPECT_EQ(music.Next(), order[1] - 1);
  EXPECT_EQ(music.order(), order);  // never shuffled again
  // Another seed, another order (the seeds here are known to differ).
  MusicOrder other{Random(8)};
  other.Next();
  EXPECT_NE(other.order(), order);
  EXPECT_EQ(MusicFileName(3), "tomtura3.mid");
}

}  // namespace
}  // namespace tomtura
