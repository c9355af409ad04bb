// The command line Windows hands a screensaver: the show, the preview in a
// given window, or the settings.
#include <gtest/gtest.h>

#include "app/saver_options.h"

namespace {

using Target = SaverOptions::Target;

TEST(WindowsSaverOptions, ChoosesTheShow) {
  struct Case {
    std::vector<std::string> arguments;
    Target target;
    unsigned long windowId;
    bool settings;
    bool sound;
  };
  const Case cases[] = {
      {{}, Target::OwnWindow, 0, true, false},
      {{"/c"}, Target::OwnWindow, 0, true, false},
      {{"/c:1234"}, Target::OwnWindow, 0, true, false},
      {{"/S"}, Target::FullScreen, 0, false, false},
      {{"-s", "/sound"}, Target::FullScreen, 0, false, true},
      {{"/p", "65552"}, Target::GivenWindow, 65552, false, false},
      {{"/P:4294967295"}, Target::GivenWindow, 4294967295ul, false, false},
  };
  for (const Case& c : cases) {
    SaverOptions options;
    const std::string label = ::testing::PrintToString(c.arguments);
    EXPECT_EQ(parseWindowsSaverOptions(c.arguments, options), "") << label;
    EXPECT_EQ(options.target, c.target) << label;
    EXPECT_EQ(options.windowId, c.windowId) << label;
    EXPECT_EQ(options.settings, c.settings) << label;
    EXPECT_EQ(options.sound, c.sound) << label;
  }
}

TEST(WindowsSaverOptions, RefusesBadArguments) {
  const std::vector<std::string> cases[] = {
      {"/p"},
      {"/p", "0"},
      {"/p", "0x10"},
      {"/p", "-5"},
      {"/p", "4294967296"},
      {"/p", "12345678901234567890"},
      {"/s", "/p", "5"},
      {"/x"},
      {"s"},
      {"/"},
  };
  for (const auto& arguments : cases) {
    SaverOptions options;
    EXPECT_NE(parseWindowsSaverOptions(arguments, options), "") << ::testing::PrintToString(arguments);
  }
}

}  // namespace
