// The viewer's command line as a table: accepted arguments and their
// meaning, and the one-line error of every bad one.
#include <gtest/gtest.h>

#include "app/viewer_options.h"

namespace {

using Display = ViewerOptions::Display;

struct Accepted {
  std::vector<std::string> arguments;
  Display display;
  bool haveSeeds;
  int32_t seed0, seed2;
  bool favourites, help, version;
};

TEST(ViewerOptions, AcceptedArguments) {
  const Accepted cases[] = {
      {{}, Display::Ask, false, 0, 0, false, false, false},
      {{"--window"}, Display::Window, false, 0, 0, false, false, false},
      {{"--full-screen"}, Display::FullScreen, false, 0, 0, false, false, false},
      {{"--seeds", "12,34,56", "--favourites"}, Display::Ask, true, 12, 56, true, false, false},
      {{"--seeds", "1,1,2147483647", "--full-screen"}, Display::FullScreen, true, 1, 2147483647, false, false, false},
      {{"--help", "--bogus"}, Display::Ask, false, 0, 0, false, true, false},
      {{"--version"}, Display::Ask, false, 0, 0, false, false, true},
  };
  for (const Accepted& c : cases) {
    ViewerOptions options;
    const std::string error = parseViewerOptions(c.arguments, options);
    const std::string label = c.arguments.empty() ? "(none)" : c.arguments[0];
    EXPECT_EQ(error, "") << label;
    EXPECT_EQ(options.display, c.display) << label;
    EXPECT_EQ(options.haveSeeds, c.haveSeeds) << label;
    EXPECT_EQ(options.seeds[0], c.seed0) << label;
    EXPECT_EQ(options.seeds[2], c.seed2) << label;
    EXPECT_EQ(options.favourites, c.favourites) << label;
    EXPECT_EQ(options.help, c.help) << label;
    EXPECT_EQ(options.version, c.version) << label;
  }
}

TEST(ViewerOptions, BadArgumentsGiveOneLine) {
  const std::vector<std::vector<std::string>> cases = {
      {"--window", "--full-screen"},
      {"--seeds"},
      {"--seeds", "1,2"},
      {"--seeds", "1,2,3,4"},
      {"--seeds", "0,2,3"},
      {"--seeds", "1,-2,3"},
      {"--seeds", "1,2,2147483648"},
      {"--seeds", "1,,3"},
      {"--seeds", " 1,2,3"},
      {"--seeds", "1,2,3x"},
      {"--fullscreen"},
      {"window"},
      {""},
  };
  for (const auto& arguments : cases) {
    ViewerOptions options;
    const std::string error = parseViewerOptions(arguments, options);
    EXPECT_FALSE(error.empty()) << arguments.back();
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    EXPECT_FALSE(options.haveSeeds) << arguments.back();
  }
}

}  // namespace
