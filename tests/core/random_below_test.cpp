// Tests of randomBelow: its range, and that n <= 0 draws nothing.
#include "core/random_below.h"

#include <gtest/gtest.h>

namespace {

TEST(RandomBelow, ZeroAndOneAndRange) {
  seedRandomBelow(42);
  EXPECT_EQ(randomBelow(0), 0);
  EXPECT_EQ(randomBelow(-3), 0);
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(randomBelow(1), 0);
    int32_t r = randomBelow(3);
    ASSERT_GE(r, 0);
    ASSERT_LT(r, 3);
  }
}

TEST(RandomBelow, ZeroDoesNotDrawAndEqualSeedsRepeat) {
  seedRandomBelow(7);
  int32_t first = randomBelow(100000);
  seedRandomBelow(7);
  randomBelow(0);
  EXPECT_EQ(randomBelow(100000), first);
}

}  // namespace
