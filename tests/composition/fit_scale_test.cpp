// Tests of computeFitScale over desktop sizes.
#include <gtest/gtest.h>

#include "composition/composition_context.h"
#include "composition/fit_scale.h"

namespace {

struct FitCase {
  int width, height;
  float screenHeight, expected;
};

TEST(ComputeFitScale, DesktopSizes) {
  const FitCase cases[] = {
      {1920, 1080, 960, 1.0f},
      {1366, 768, 960, 0.625f},
      {800, 600, 960, 0.5f},
      {640, 480, 960, 0.5f},
      {1020, 2000, 960, 1.0f},
      {1019, 1019, 960, 0.875f},
      // Full screen: the canvas is the desktop.
      {1920, 1080, 1080, 0.875f},
      {0, 0, 960, 0.5f},
  };
  for (const FitCase& c : cases) {
    CompositionContext context;
    context.desktop = DesktopSize{c.width, c.height};
    context.screenHeight = c.screenHeight;
    EXPECT_FLOAT_EQ(computeFitScale(context), c.expected) << c.width << "x" << c.height;
  }
}

TEST(ComputeFitScale, WithoutADesktopTheCanvasFits) {
  CompositionContext context;
  context.screenHeight = 4000;
  EXPECT_EQ(computeFitScale(context), 1.0f);
}

}  // namespace
