// The graphic index and scale rules, and the narrowing of results to floats.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "composition/figure_values.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(FigureGraphicIndex, FollowsTruncationRemainderAndMagnitude) {
  struct Case {
    double z;
    int n;
    int expected;
  };
  const Case cases[] = {
      {-2.6, 5, 3},                       // trunc(-13) = -13, remainder -3
      {2.6, 5, 3},                        // 13 rem 5
      {0.99, 5, 4},                       // 4.95 -> 4
      {-0.19, 5, 0},                      // -0.95 -> 0
      {0.5, 1, 0},          {1e9, 7, 1},  // 7e9: low 32 bits -1589934592 as signed, remainder -1
      {4294967296.0, 3, 0},               // 2^32 * 3: low 32 bits 0
      {-4.6e18, 3, 0},                    // -1.38e19 lies beyond -2^63
      {kNaN, 5, 0},         {kInf, 5, 0}, {-kInf, 5, 0}, {1e19, 5, 0},  // beyond 2^63 after the product
      {0.3, 0, 0},                                                      // no graphics
  };
  for (const Case& c : cases) {
    EXPECT_EQ(figureGraphicIndex(c.z, c.n), c.expected) << c.z << " of " << c.n;
  }
}

TEST(FigureGraphicIndex, AlwaysLiesInsideTheRegistry) {
  for (int n = 1; n <= 40; n += 3) {
    // Magnitudes from 1e-3 up to past 2^63 / n, across the 32-bit wrap.
    for (double magnitude = 1e-3; magnitude < 1e20; magnitude *= 1.37) {
      for (double z : {magnitude, -magnitude}) {
        const int g = figureGraphicIndex(z, n);
        ASSERT_GE(g, 0) << z;
        ASSERT_LT(g, n) << z;
      }
    }
  }
}

TEST(FigureScale, IsHeldBetweenOneTwentiethAndThree) {
  struct Case {
    double z;
    float expected;
  };
  const Case cases[] = {
      {1.5, 1.5f}, {0.05, 0.05f}, {0.0499, 0.05f}, {-2, 0.05f},    {0, 0.05f},    {kNaN, 0.05f},
      {3, 3.0f},   {3.5, 3.0f},   {kInf, 3.0f},    {-kInf, 0.05f}, {1e300, 3.0f},
  };
  for (const Case& c : cases) EXPECT_EQ(figureScale(c.z), c.expected) << c.z;
}

TEST(NarrowToFloat, RoundsLikeTheHardwareAndSaturatesToInfinity) {
  EXPECT_EQ(narrowToFloat(0.1), 0.1f);
  EXPECT_EQ(narrowToFloat(-1e300), -std::numeric_limits<float>::infinity());
  EXPECT_EQ(narrowToFloat(1e39), std::numeric_limits<float>::infinity());
  EXPECT_EQ(narrowToFloat(3.4028235e38), std::numeric_limits<float>::max());
  EXPECT_TRUE(std::isnan(narrowToFloat(kNaN)));
}

}  // namespace
