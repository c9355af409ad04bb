// Tests of vectorAngle by quadrant and of rotateAboutCentre.
#include <gtest/gtest.h>

#include <cmath>

#include "core/angles.h"

namespace {

constexpr float kPi = 3.14159265358979f;

struct AngleCase {
  float a, b, expected;
};

TEST(VectorAngle, QuadrantsAndAxes) {
  const AngleCase cases[] = {
      {0, 0, 0},
      {0, 1, 0},
      {1, 0, kPi / 2},
      {-1, 0, 3 * kPi / 2},
      {1, 1, kPi / 4},
      {1, -1, 3 * kPi / 4},
      {-1, -1, -3 * kPi / 4},
      {-1, 1, 7 * kPi / 4},
      {0, -1, kPi},
      {-0.0f, -1, kPi},  // negative zero counts as non-negative
      {1e30f, 0, kPi / 2},
  };
  for (const AngleCase& c : cases) {
    EXPECT_NEAR(vectorAngle(c.a, c.b), c.expected, 1e-5f) << "a=" << c.a << " b=" << c.b;
  }
}

TEST(RotateAboutCentre, QuarterTurnsKeepDistanceAndTurnClockwiseOnScreen) {
  float x = 1, y = 0;
  rotateAboutCentre(x, y, kPi / 2, 0, 0);
  EXPECT_NEAR(x, 0, 1e-6f);
  EXPECT_NEAR(y, 1, 1e-6f);

  x = 15, y = 10;  // (5, 0) from the centre (10, 10)
  rotateAboutCentre(x, y, kPi, 10, 10);
  EXPECT_NEAR(x, 5, 1e-5f);
  EXPECT_NEAR(y, 10, 1e-5f);

  x = 3, y = -4;
  rotateAboutCentre(x, y, 1.234f, 0, 0);
  EXPECT_NEAR(std::hypot(x, y), 5, 1e-5f);
}

TEST(RotateAboutCentre, PointOnTheCentreStays) {
  float x = 7, y = -2;
  rotateAboutCentre(x, y, 2.5f, 7, -2);
  EXPECT_FLOAT_EQ(x, 7);
  EXPECT_FLOAT_EQ(y, -2);
}

TEST(RotateAboutCentre, EveryQuadrantTurnsTheSameWay) {
  const float points[][2] = {{1, 1}, {-1, 1}, {-1, -1}, {1, -1}};
  for (auto& p : points) {
    float x = p[0], y = p[1];
    rotateAboutCentre(x, y, 0.1f, 0, 0);
    float expectedX = p[0] * std::cos(0.1f) - p[1] * std::sin(0.1f);
    float expectedY = p[0] * std::sin(0.1f) + p[1] * std::cos(0.1f);
    EXPECT_NEAR(x, expectedX, 1e-5f);
    EXPECT_NEAR(y, expectedY, 1e-5f);
  }
}

}  // namespace
