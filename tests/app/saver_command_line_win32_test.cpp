// The Windows saver reads Windows' screensaver arguments, never
// XScreenSaver's options or its window in the environment.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/saver_options.h"

namespace {

TEST(WindowsSaverCommandLine, ReadsWindowsArgumentsOnly) {
  ASSERT_EQ(_putenv_s("XSCREENSAVER_WINDOW", "0x400001"), 0);
  SaverOptions settings;
  EXPECT_EQ(parseSaverCommandLine({}, settings), "");
  EXPECT_TRUE(settings.settings);
  EXPECT_EQ(settings.target, SaverOptions::Target::OwnWindow);

  SaverOptions show;
  EXPECT_EQ(parseSaverCommandLine({"/s"}, show), "");
  EXPECT_EQ(show.target, SaverOptions::Target::FullScreen);
  SaverOptions x11;
  EXPECT_NE(parseSaverCommandLine({"-root"}, x11), "");
  _putenv_s("XSCREENSAVER_WINDOW", "");
}

}  // namespace
