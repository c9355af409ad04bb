// Tests of computeFitScale over desktop sizes.
#include <gtest/gtest.h>

#include "app/app_reset.h"
#include "composition/app_state.h"
#include "composition/fit_scale.h"
#include "tests/support/recording_platform.h"

namespace {

struct FitCase {
  int width, height;
  float screenHeight, expected;
};

TEST(ComputeFitScale, DesktopSizes) {
  const FitCase cases[] = {
      {1920, 1080, 960, 1.0f}, {1366, 768, 960, 0.625f},  {800, 600, 960, 0.5f},      {640, 480, 960, 0.5f},
      {1020, 2000, 960, 1.0f}, {1019, 1019, 960, 0.875f}, {1920, 1080, 1080, 0.875f},  // full screen: the canvas is the
                                                                                       // desktop
      {0, 0, 960, 0.5f},
  };
  RecordingPlatform platform;
  for (const FitCase& c : cases) {
    resetAppStateForTests();
    APP_STATE.platform = &platform;
    platform.desktop = {c.width, c.height};
    APP_STATE.screenHeight = c.screenHeight;
    EXPECT_FLOAT_EQ(computeFitScale(), c.expected) << c.width << "x" << c.height;
  }
  resetAppStateForTests();
}

}  // namespace
