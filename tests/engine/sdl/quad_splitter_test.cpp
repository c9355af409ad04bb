// Splitting quads: pass-through, texel-aligned pieces of oversized sprites
// that cover exactly the visible part once, and the triangle-clipping fallback.
#include "engine/sdl/quad_splitter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct Collected : TriangleSink {
  struct Tri {
    ClipVertex v[3];
  };
  std::vector<Tri> triangles;
  void Triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) override {
    triangles.push_back({{a, b, c}});
  }
};

// Barycentric weights of (x, y) in the triangle; false when outside.
bool weights(const Collected::Tri& t, double x, double y, double (&w)[3]) {
  const ClipVertex &a = t.v[0], &b = t.v[1], &c = t.v[2];
  double det = (static_cast<double>(b.y) - c.y) * (static_cast<double>(a.x) - c.x) +
               (static_cast<double>(c.x) - b.x) * (static_cast<double>(a.y) - c.y);
  if (std::fabs(det) < 1e-12) return false;
  w[0] = ((static_cast<double>(b.y) - c.y) * (x - c.x) + (static_cast<double>(c.x) - b.x) * (y - c.y)) / det;
  w[1] = ((static_cast<double>(c.y) - a.y) * (x - c.x) + (static_cast<double>(a.x) - c.x) * (y - c.y)) / det;
  w[2] = 1 - w[0] - w[1];
  return w[0] >= 0 && w[1] >= 0 && w[2] >= 0;
}

// A sprite-like quad: a w x h rectangle turned about its centre (cx, cy),
// showing texels [u0, u1] x [v0, v1] of the surface.
void spriteQuad(ClipVertex (&q)[4], double cx, double cy, double w, double h, double angle, float u0, float u1,
                float v0, float v1) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double px[4] = {-w / 2, w / 2, w / 2, -w / 2}, py[4] = {-h / 2, -h / 2, h / 2, h / 2};
  const float us[4] = {u0, u1, u1, u0}, vs[4] = {v0, v0, v1, v1};
  for (int i = 0; i < 4; ++i)
    q[i] = {static_cast<float>(cx + px[i] * c - py[i] * s),
            static_cast<float>(cy + px[i] * s + py[i] * c),
            200,
            100,
            50,
            255,
            us[i],
            vs[i]};
}

TEST(QuadSplitter, QuadInsideTheGuardGoesOutAsTwoTriangles) {
  ClipVertex q[4];
  spriteQuad(q, 50, 50, 20, 10, 0.3, 0, 1, 0, 1);
  Collected out;
  SplitQuad(q, {64, 64, 1024}, {0, 0, 100, 100}, out);
  ASSERT_EQ(out.triangles.size(), 2u);
  const int order[2][3] = {{0, 1, 2}, {0, 2, 3}};
  for (int t = 0; t < 2; ++t)
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(out.triangles[t].v[i].x, q[order[t][i]].x);
      EXPECT_EQ(out.triangles[t].v[i].u, q[order[t][i]].u);
    }
}

struct SplitCase {
  const char* name;
  double size;   // quad side in pixels
  double angle;  // radians
  float u0, u1;  // texture window across (u1 < u0: mirrored)
  int texels;    // surface texels per side
  double maxAreaTexels = 0;
};

double doubledArea(const ClipVertex (&v)[3]) {
  return std::fabs((static_cast<double>(v[1].x) - v[0].x) * (static_cast<double>(v[2].y) - v[0].y) -
                   (static_cast<double>(v[2].x) - v[0].x) * (static_cast<double>(v[1].y) - v[0].y));
}

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class OversizedSprites : public ::testing::TestWithParam<SplitCase> {};

TEST_P(OversizedSprites, PiecesCoverTheVisiblePartOnceWithTheSameMapping) {
  const SplitCase& c = GetParam();
  const ClipRect guard{-2, -2, 258, 202};
  ClipVertex q[4];
  spriteQuad(q, 120, 90, c.size, c.size * 0.75, c.angle, c.u0, c.u1, 0, 0.5f);
  SplitSettings settings{c.texels, c.texels, 1024, c.maxAreaTexels};
  Collected out;
  SplitQuad(q, settings, guard, out);
  ASSERT_FALSE(out.triangles.empty());

  for (const auto& t : out.triangles) {
    double minX = 1e30, maxX = -1e30, minY = 1e30, maxY = -1e30;
    for (const ClipVertex& v : t.v) {
      minX = std::min<double>(minX, v.x), maxX = std::max<double>(maxX, v.x);
      minY = std::min<double>(minY, v.y), maxY = std::max<double>(maxY, v.y);
    }
    EXPECT_LT(maxX - minX, 3000) << "pieces stay small";
    EXPECT_LT(maxY - minY, 3000) << "pieces stay small";
    if (c.maxAreaTexels > 0) {
      EXPECT_LE(doubledArea(t.v) * (c.texels + 2), c.maxAreaTexels);
    }
    // Magnified axes are texel-aligned: the corners sit on whole texels, or
    // the whole triangle lies within one texel. (Minified ones need not be.)
    const double pixelsPerTexel[2] = {c.size / (std::fabs(c.u1 - c.u0) * c.texels), c.size * 0.75 / (0.5 * c.texels)};
    for (int axis = 0; axis < 2; ++axis) {
      if (pixelsPerTexel[axis] <= 1) continue;
      bool whole = true;
      double low = 1e30, high = -1e30;
      for (const ClipVertex& v : t.v) {
        double texel = (axis == 0 ? v.u : v.v) * c.texels;
        whole = whole && std::fabs(texel - std::round(texel)) < 2e-3;
        low = std::min(low, texel), high = std::max(high, texel);
      }
      EXPECT_TRUE(whole || std::floor(low + 1e-6) >= std::ceil(high - 1e-6) - 1) << "axis " << axis;
    }
  }

  // Sample the guard: each point of the quad lies in exactly one piece and
  // gets the quad's own texture coordinate there.
  const double cosA = std::cos(c.angle), sinA = std::sin(c.angle);
  int inside = 0;
  for (double y = guard.top + 0.37; y < guard.bottom; y += 3.1) {
    for (double x = guard.left + 0.61; x < guard.right; x += 3.3) {
      double lx = (x - 120) * cosA + (y - 90) * sinA, ly = -(x - 120) * sinA + (y - 90) * cosA;
      double a = lx / c.size + 0.5, b = ly / (c.size * 0.75) + 0.5;
      bool inQuad = a > 1e-6 && a < 1 - 1e-6 && b > 1e-6 && b < 1 - 1e-6;
      int hits = 0;
      for (const auto& t : out.triangles) {
        double w[3];
        if (!weights(t, x, y, w)) continue;
        ++hits;
        double u = w[0] * t.v[0].u + w[1] * t.v[1].u + w[2] * t.v[2].u;
        double v = w[0] * t.v[0].v + w[1] * t.v[1].v + w[2] * t.v[2].v;
        EXPECT_NEAR(u, c.u0 + a * (c.u1 - c.u0), 2e-4) << x << "," << y;
        EXPECT_NEAR(v, 0.5 * b, 2e-4) << x << "," << y;
      }
      // Points on a shared piece edge count in both; allow that only there.
      if (inQuad) {
        EXPECT_GE(hits, 1) << x << "," << y;
        ++inside;
      } else {
        EXPECT_EQ(hits, 0) << x << "," << y;
      }
    }
  }
  EXPECT_GT(inside, 100);
}

INSTANTIATE_TEST_SUITE_P(Table, OversizedSprites,
                         ::testing::Values(SplitCase{"Magnified", 6000, 0.3, 0, 1, 16},
                                           SplitCase{"HugeTexels", 23040, 0.7, 0, 1, 4},
                                           SplitCase{"Mirrored", 9000, -1.1, 0.75f, 0.125f, 64},
                                           SplitCase{"Minified", 3000, 2.0, 0, 1, 4096},
                                           SplitCase{"Unturned", 5000, 0, 0, 0.5f, 32},
                                           SplitCase{"AreaLimitedMinified", 3000, 0.4, 0, 1, 4096, 1 << 28},
                                           SplitCase{"AreaLimitedInsideTheGuard", 150, 0.3, 0, 1, 4096, 1 << 24},
                                           SplitCase{"AreaLimitedHugeTexels", 23040, 0.7, 0, 1, 4, 4096}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(QuadSplitter, OtherQuadsAreClippedTriangleByTriangle) {
  // Not a parallelogram: corner 2 pulled out.
  ClipVertex q[4];
  spriteQuad(q, 50, 50, 400, 400, 0, 0, 1, 0, 1);
  q[2].x += 300;
  Collected out;
  const ClipRect guard{0, 0, 100, 100};
  SplitQuad(q, {8, 8, 1024}, guard, out);
  ASSERT_FALSE(out.triangles.empty());
  double area = 0;
  for (const auto& t : out.triangles) {
    for (const ClipVertex& v : t.v) {
      EXPECT_GE(v.x, guard.left);
      EXPECT_LE(v.x, guard.right);
    }
    area +=
        std::fabs((t.v[1].x - t.v[0].x) * (t.v[2].y - t.v[0].y) - (t.v[2].x - t.v[0].x) * (t.v[1].y - t.v[0].y)) / 2;
  }
  EXPECT_NEAR(area, 100.0 * 100.0, 1.0);

  // With an area limit the same part is covered by smaller triangles.
  Collected limited;
  SplitQuad(q, {8, 8, 1024, 10.0 * 200}, guard, limited);
  double limitedArea = 0;
  for (const auto& t : limited.triangles) {
    EXPECT_LE(doubledArea(t.v), 200.0);
    limitedArea += doubledArea(t.v) / 2;
  }
  EXPECT_NEAR(limitedArea, area, 1.0);

  Collected none;
  spriteQuad(q, 5000, 5000, 100, 100, 0.5, 0, 1, 0, 1);
  SplitQuad(q, {8, 8, 1024}, guard, none);
  EXPECT_TRUE(none.triangles.empty());
}

}  // namespace
