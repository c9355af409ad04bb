// The screen history: order, the limit, going back and coming forward again
// (the modes kept with a screen are checked with the keeper).
#include <gtest/gtest.h>

#include "app/screen_history.h"

namespace {

ScreenRecord screen(int32_t n) { return {{n, n + 1, n + 2}, 0, 0, 0}; }

TEST(ScreenHistory, BackWalksTheScreensNewestFirstUpToTheLimit) {
  ScreenHistory history;
  EXPECT_EQ(history.Current(), nullptr);
  EXPECT_EQ(history.Back(), nullptr);
  for (int32_t n = 1; n <= 130; ++n) history.Add(screen(n));
  EXPECT_EQ(history.Size(), ScreenHistory::kLimit);
  EXPECT_EQ(history.Current()->seeds[0], 130);
  std::vector<int32_t> walked;
  while (const ScreenRecord* back = history.Back()) walked.push_back(back->seeds[0]);
  ASSERT_EQ(walked.size(), ScreenHistory::kLimit - 1);
  EXPECT_EQ(walked.front(), 129);
  EXPECT_EQ(walked.back(), 31);  // the oldest of the last 100
  EXPECT_EQ(history.Current()->seeds[0], 31);
}

TEST(ScreenHistory, ANewScreenAfterGoingBackReturnsToTheOneGoneBackTo) {
  ScreenHistory history;
  for (int32_t n = 1; n <= 4; ++n) history.Add(screen(n * 10));
  history.Back();
  EXPECT_EQ(history.Back()->seeds[0], 20);
  history.Add(screen(50));
  EXPECT_EQ(history.Back()->seeds[0], 20);  // what was shown before 50
  EXPECT_EQ(history.Back()->seeds[0], 40);  // then everything else, nothing lost
  EXPECT_EQ(history.Back()->seeds[0], 30);
}

}  // namespace
