// The screensaver's command line: which window it draws into, given its
// arguments and XScreenSaver's XSCREENSAVER_WINDOW.
#include "app/saver_options.h"

#include <gtest/gtest.h>

namespace {

using Target = SaverOptions::Target;

struct Case {
  std::vector<std::string> arguments;
  const char* environment;  // XSCREENSAVER_WINDOW, null when unset
  Target target;
  unsigned long windowId;
  bool sound;
};

TEST(SaverOptions, ChoosesTheWindow) {
  const Case cases[] = {
      {{}, nullptr, Target::OwnWindow, 0, false},
      {{"-window"}, nullptr, Target::OwnWindow, 0, false},
      {{"-root"}, nullptr, Target::RootWindow, 0, false},
      {{"--root", "--sound"}, nullptr, Target::RootWindow, 0, true},
      {{"-window-id", "0x2a00007"}, nullptr, Target::GivenWindow, 0x2a00007, false},
      {{"--window-id", "1234"}, "0x99", Target::GivenWindow, 1234, false},
      // XScreenSaver's window stands for the root and for the default, not for -window.
      {{"-root"}, "0x400001", Target::GivenWindow, 0x400001, false},
      {{}, "4194305", Target::GivenWindow, 4194305, false},
      {{"-window"}, "0x400001", Target::OwnWindow, 0, false},
      {{"-root"}, "", Target::RootWindow, 0, false},
  };
  for (const Case& c : cases) {
    SaverOptions options;
    const std::string error = parseSaverOptions(c.arguments, c.environment, options);
    const std::string label = ::testing::PrintToString(c.arguments) + " / " + (c.environment ? c.environment : "unset");
    EXPECT_EQ(error, "") << label;
    EXPECT_EQ(options.target, c.target) << label;
    EXPECT_EQ(options.windowId, c.windowId) << label;
    EXPECT_EQ(options.sound, c.sound) << label;
  }
}

TEST(SaverOptions, RefusesBadArguments) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"-window-id"}, nullptr},
      {{"-window-id", "0"}, nullptr},
      {{"-window-id", "0x"}, nullptr},
      {{"-window-id", "12ab"}, nullptr},
      {{"-window-id", "-5"}, nullptr},
      {{"-window-id", "0x100000000"}, nullptr},
      {{"-root", "-window"}, nullptr},
      {{"-fps"}, nullptr},
      {{"-root"}, "junk"},
  };
  for (const auto& [arguments, environment] : cases) {
    SaverOptions options;
    EXPECT_NE(parseSaverOptions(arguments, environment, options), "") << ::testing::PrintToString(arguments);
  }
}

}  // namespace
