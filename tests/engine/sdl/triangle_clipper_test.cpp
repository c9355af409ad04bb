// Clipping a triangle to a rectangle: coverage, interpolated values, edge cases.
#include "engine/sdl/triangle_clipper.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

ClipVertex at(float x, float y, float value) {
  return {x, y, value, 255 - value, value / 2, 255, value / 255, 1 - value / 255};
}

double polygonArea(const ClipVertex* p, int count) {
  double twice = 0;
  for (int i = 0; i < count; ++i) {
    const ClipVertex& a = p[i];
    const ClipVertex& b = p[(i + 1) % count];
    twice += static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
  }
  return std::fabs(twice) / 2;
}

// Area of the triangle's part inside the rectangle by sampling a fine grid.
double sampledArea(const ClipVertex (&t)[3], const ClipRect& rect) {
  auto side = [](const ClipVertex& a, const ClipVertex& b, double x, double y) {
    return (b.x - a.x) * (y - a.y) - (b.y - a.y) * (x - a.x);
  };
  const double step = 0.05;
  long inside = 0;
  for (double y = rect.top + step / 2; y < rect.bottom; y += step)
    for (double x = rect.left + step / 2; x < rect.right; x += step) {
      double s0 = side(t[0], t[1], x, y), s1 = side(t[1], t[2], x, y), s2 = side(t[2], t[0], x, y);
      inside += (s0 >= 0 && s1 >= 0 && s2 >= 0) || (s0 <= 0 && s1 <= 0 && s2 <= 0);
    }
  return static_cast<double>(inside) * step * step;
}

TEST(TriangleClipper, KeepsExactlyThePartInsideTheRectangle) {
  const ClipRect rect{0, 0, 10, 10};
  struct Case {
    const char* name;
    ClipVertex triangle[3];
  };
  const Case cases[] = {
      {"inside", {at(1, 1, 0), at(9, 1, 0), at(1, 9, 0)}},
      {"outside", {at(20, 20, 0), at(30, 20, 0), at(20, 30, 0)}},
      {"covers the rectangle", {at(-100, -100, 0), at(300, -100, 0), at(-100, 300, 0)}},
      {"one corner out", {at(5, 5, 0), at(15, 5, 0), at(5, 12, 0)}},
      {"cut by all four edges", {at(5, -20, 0), at(30, 5, 0), at(-20, 15, 0)}},
      {"clockwise", {at(-5, 2, 0), at(4, 14, 0), at(12, 3, 0)}},
      {"touching an edge from outside", {at(10, 0, 0), at(20, 0, 0), at(10, 10, 0)}},
  };
  for (const Case& c : cases) {
    ClipVertex out[kMaxClippedVertices];
    int count = ClipTriangle(c.triangle, rect, out);
    EXPECT_LE(count, 7) << c.name;
    EXPECT_NEAR(count ? polygonArea(out, count) : 0.0, sampledArea(c.triangle, rect), 0.3) << c.name;
    for (int i = 0; i < count; ++i) {
      EXPECT_GE(out[i].x, rect.left) << c.name;
      EXPECT_LE(out[i].x, rect.right) << c.name;
      EXPECT_GE(out[i].y, rect.top) << c.name;
      EXPECT_LE(out[i].y, rect.bottom) << c.name;
    }
  }
}

TEST(TriangleClipper, CutPointsCarryTheLinearlyInterpolatedValues) {
  // value = 2 * x + y over the triangle: every output vertex must satisfy it.
  const ClipVertex triangle[3] = {at(-50, -10, 2 * -50 - 10), at(80, 5, 2 * 80 + 5), at(10, 60, 2 * 10 + 60)};
  const ClipRect rect{0, 0, 40, 30};
  ClipVertex out[kMaxClippedVertices];
  int count = ClipTriangle(triangle, rect, out);
  ASSERT_GE(count, 3);
  for (int i = 0; i < count; ++i) {
    float value = 2 * out[i].x + out[i].y;
    EXPECT_NEAR(out[i].r, value, 1e-3f);
    EXPECT_NEAR(out[i].g, 255 - value, 1e-3f);
    EXPECT_NEAR(out[i].b, value / 2, 1e-3f);
    EXPECT_NEAR(out[i].u, value / 255, 1e-5f);
    EXPECT_NEAR(out[i].v, 1 - value / 255, 1e-5f);
    EXPECT_FLOAT_EQ(out[i].a, 255);
  }
}

TEST(TriangleClipper, HugeAndDegenerateTriangles) {
  const ClipRect rect{-2, -2, 258, 258};
  ClipVertex out[kMaxClippedVertices];
  const ClipVertex huge[3] = {at(-3e7f, -3e7f, 0), at(3e7f, -3e7f, 0), at(0, 3e7f, 0)};
  int count = ClipTriangle(huge, rect, out);
  EXPECT_EQ(count, 4);
  EXPECT_NEAR(polygonArea(out, count), 260.0 * 260.0, 1.0);
  const ClipVertex line[3] = {at(0, 0, 0), at(100, 100, 0), at(200, 200, 0)};
  count = ClipTriangle(line, rect, out);
  EXPECT_NEAR(count ? polygonArea(out, count) : 0.0, 0.0, 1e-3);
  const ClipVertex point[3] = {at(5, 5, 0), at(5, 5, 0), at(5, 5, 0)};
  count = ClipTriangle(point, rect, out);
  EXPECT_NEAR(count ? polygonArea(out, count) : 0.0, 0.0, 1e-6);
}

}  // namespace
