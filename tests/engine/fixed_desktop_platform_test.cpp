// Tests of the platform for programs that run with nobody at the screen.
#include "engine/fixed_desktop_platform.h"

#include <gtest/gtest.h>

namespace {

TEST(FixedDesktopPlatform, AnswersNoWritesOnlyErrorsAndRemembersThem) {
  FixedDesktopPlatform platform("driftglow-test", {800, 600});
  testing::internal::CaptureStderr();
  EXPECT_EQ(platform.ShowMessage("Run full screen?", "Driftglow", kMbYesNo), kIdNo);
  EXPECT_FALSE(platform.Failed());
  EXPECT_EQ(platform.ShowMessage("Can't load sounds.", "Error", kMbIconError), kIdOk);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "driftglow-test: Can't load sounds.\n");
  EXPECT_TRUE(platform.Failed());
}

TEST(FixedDesktopPlatform, KeepsTheDesktopItIsGivenAndAFixedClock) {
  FixedDesktopPlatform platform("driftglow-test", {800, 600});
  EXPECT_EQ(platform.GetDesktopSize().width, 800);
  platform.SetDesktopSize({1024, 768});
  EXPECT_EQ(platform.GetDesktopSize().height, 768);
  EXPECT_GT(platform.NowSeconds(), 1'600'000'000);  // the calendar time until fixed
  platform.FixClock(20261207);
  EXPECT_EQ(platform.NowSeconds(), 20261207);
}

}  // namespace
