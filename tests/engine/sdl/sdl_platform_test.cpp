// The SDL platform layer where no display exists: messages still reach
// standard error, questions answer No, the desktop size falls back.
#include <gtest/gtest.h>

#include <ctime>

#include "engine/sdl/sdl_platform.h"
#include "tests/engine/sdl/test_files.h"

namespace {

class PlatformWithoutDisplay : public ::testing::Test {
 protected:
  ScopedEnvironment display_{"DISPLAY", std::nullopt};
  ScopedEnvironment wayland_{"WAYLAND_DISPLAY", std::nullopt};
  ScopedEnvironment runtime_{"XDG_RUNTIME_DIR", std::nullopt};
  ScopedEnvironment driver_{"SDL_VIDEODRIVER", "x11"};
  std::unique_ptr<Platform> platform_ = CreateSdlPlatform();
};

TEST_F(PlatformWithoutDisplay, MessagesGoToStandardErrorAndQuestionsAnswerNo) {
  struct Case {
    const char* text;
    const char* caption;
    unsigned style;
    int answer;
  };
  for (Case c : {Case{"Run full screen?", "Driftglow", kMbYesNo, kIdNo},
                 {"Can't load sounds.", "Error", kMbIconError, kIdOk},
                 {"No display", "Error", kMbSystemModal | kMbIconError, kIdOk}}) {
    ::testing::internal::CaptureStderr();
    int answer = platform_->ShowMessage(c.text, c.caption, c.style);
    std::string output = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(answer, c.answer) << c.text;
    EXPECT_NE(output.find(std::string(c.caption) + ": " + c.text), std::string::npos) << output;
  }
}

TEST_F(PlatformWithoutDisplay, DesktopSizeFallsBackAndSaysSo) {
  ::testing::internal::CaptureStderr();
  DesktopSize size = platform_->GetDesktopSize();
  std::string output = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(size.width, 1920);
  EXPECT_EQ(size.height, 1080);
  EXPECT_NE(output.find("1920 x 1080"), std::string::npos) << output;
}

TEST_F(PlatformWithoutDisplay, ClockGivesCalendarSeconds) {
  int64_t before = static_cast<int64_t>(std::time(nullptr));
  int64_t now = platform_->NowSeconds();
  EXPECT_GE(now, before);
  EXPECT_LE(now, before + 5);
}

TEST(PlatformOffscreen, DesktopSizeOfAnExplicitlyRequestedDriver) {
  ScopedEnvironment driver("SDL_VIDEODRIVER", "offscreen");
  std::unique_ptr<Platform> platform = CreateSdlPlatform();
  ::testing::internal::CaptureStderr();
  DesktopSize size = platform->GetDesktopSize();
  std::string output = ::testing::internal::GetCapturedStderr();
  if (output.find("assuming") != std::string::npos) GTEST_SKIP() << output;
  EXPECT_GT(size.width, 0);
  EXPECT_GT(size.height, 0);
}

}  // namespace
