// The screensaver's command line: which window it draws into, given its
// arguments and XScreenSaver's XSCREENSAVER_WINDOW, and the options every
// XScreenSaver program takes.
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
  long delay = 0;
  bool fps = false;
  bool favourites = false;
};

TEST(SaverOptions, ChoosesTheWindowAndReadsTheStockOptions) {
  const Case cases[] = {
      {{}, nullptr, Target::OwnWindow, 0, false},
      {{"-window"}, nullptr, Target::OwnWindow, 0, false},
      {{"-root"}, nullptr, Target::RootWindow, 0, false},
      {{"--root", "--sound"}, nullptr, Target::RootWindow, 0, true},
      {{"--favourites", "-root"}, nullptr, Target::RootWindow, 0, false, 0, false, true},
      {{"-window-id", "0x2a00007"}, nullptr, Target::GivenWindow, 0x2a00007, false},
      {{"--window-id", "1234"}, "0x99", Target::GivenWindow, 1234, false},
      // XScreenSaver's settings ask for a preview this way: the id wins, in either order.
      {{"--root", "--window-id", "0x400990"}, "0x400001", Target::GivenWindow, 0x400990, false},
      {{"-window-id", "0x400990", "-root"}, nullptr, Target::GivenWindow, 0x400990, false},
      {{"-root", "-window"}, nullptr, Target::OwnWindow, 0, false},
      // XScreenSaver's window stands for the root and for the default, not for -window.
      {{"-root"}, "0x400001", Target::GivenWindow, 0x400001, false},
      {{}, "4194305", Target::GivenWindow, 4194305, false},
      {{"-window"}, "0x400001", Target::OwnWindow, 0, false},
      {{"-root"}, "", Target::RootWindow, 0, false},
      {{"-root", "-delay", "40000", "-fps"}, nullptr, Target::RootWindow, 0, false, 40000, true},
      {{"--fps", "--no-fps", "--delay", "0"}, nullptr, Target::OwnWindow, 0, false, 0, false},
      {{"-install", "-noinstall", "-visual", "TrueColor", "-mono", "--pair", "-sound"},
       nullptr,
       Target::OwnWindow,
       0,
       true},
  };
  for (const Case& c : cases) {
    SaverOptions options;
    const std::string error = parseSaverOptions(c.arguments, c.environment, options);
    const std::string label = ::testing::PrintToString(c.arguments) + " / " + (c.environment ? c.environment : "unset");
    EXPECT_EQ(error, "") << label;
    EXPECT_EQ(options.target, c.target) << label;
    EXPECT_EQ(options.windowId, c.windowId) << label;
    EXPECT_EQ(options.sound, c.sound) << label;
    EXPECT_EQ(options.delayMicroseconds, c.delay) << label;
    EXPECT_EQ(options.showFrameRate, c.fps) << label;
    EXPECT_EQ(options.favourites, c.favourites) << label;
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
      {{"-delay"}, nullptr},
      {{"-delay", "-1"}, nullptr},
      {{"-delay", "20ms"}, nullptr},
      {{"-delay", "10000001"}, nullptr},
      {{"-visual"}, nullptr},
      {{"-frames"}, nullptr},
      {{"-root"}, "junk"},
  };
  for (const auto& [arguments, environment] : cases) {
    SaverOptions options;
    EXPECT_NE(parseSaverOptions(arguments, environment, options), "") << ::testing::PrintToString(arguments);
  }
}

}  // namespace
