// Small numeric helpers for drawing soft, anti-aliased shapes as fields:
// smooth steps, coverage from signed distances, value noise, polar helpers.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace imagegen {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;

// Grey level and opacity of one sample, straight (not premultiplied).
struct Ink {
  double alpha = 0.0;
  double value = 1.0;
};

inline double Clamp01(double x) { return std::clamp(x, 0.0, 1.0); }

inline double SmoothStep(double edge0, double edge1, double x) {
  const double t = Clamp01((x - edge0) / (edge1 - edge0));
  return t * t * (3.0 - 2.0 * t);
}

// Coverage of a point at signed distance d (negative inside) from an edge
// blurred over softness units: 1 well inside, 0 well outside.
inline double Cover(double d, double softness) { return SmoothStep(softness, -softness, d); }

inline double Gauss(double x, double width) { return std::exp(-(x * x) / (width * width)); }

// Window that is 1 at the centre and falls smoothly to exactly 0 at r = 1,
// so radial glows end before the image border.
inline double RadialWindow(double r) {
  if (r >= 1.0) return 0.0;
  const double q = 1.0 - r * r;
  return q * q;
}

// Paints top over bottom (straight alpha).
inline Ink Over(const Ink& top, const Ink& bottom) {
  const double alpha = top.alpha + bottom.alpha * (1.0 - top.alpha);
  if (alpha <= 0.0) return {0.0, top.value};
  const double value = (top.value * top.alpha + bottom.value * bottom.alpha * (1.0 - top.alpha)) / alpha;
  return {alpha, value};
}

// Adds two light amounts in [0, 1] without exceeding 1.
inline double Screen(double a, double b) { return a + b - a * b; }

// Union that keeps the stronger of two inks; overlapping thin lines do not
// brighten their crossings.
inline Ink Stronger(const Ink& a, const Ink& b) { return a.alpha >= b.alpha ? a : b; }

inline uint32_t HashInts(int32_t x, int32_t y, uint32_t seed) {
  uint32_t h = seed * 0x9E3779B1u ^ static_cast<uint32_t>(x) * 0x85EBCA77u ^ static_cast<uint32_t>(y) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

// Hash of a lattice point mapped to [0, 1).
inline double HashUnit(int32_t x, int32_t y, uint32_t seed) { return (HashInts(x, y, seed) >> 8) * (1.0 / 16777216.0); }

// Smooth value noise in [0, 1].
inline double Noise1(double x, uint32_t seed) {
  const double cell = std::floor(x);
  const double f = x - cell;
  const double s = f * f * (3.0 - 2.0 * f);
  const int32_t i = static_cast<int32_t>(cell);
  return HashUnit(i, 0, seed) * (1.0 - s) + HashUnit(i + 1, 0, seed) * s;
}

inline double Noise2(double x, double y, uint32_t seed) {
  const double cx = std::floor(x), cy = std::floor(y);
  const double fx = x - cx, fy = y - cy;
  const double sx = fx * fx * (3.0 - 2.0 * fx), sy = fy * fy * (3.0 - 2.0 * fy);
  const int32_t ix = static_cast<int32_t>(cx), iy = static_cast<int32_t>(cy);
  const double a = HashUnit(ix, iy, seed), b = HashUnit(ix + 1, iy, seed);
  const double c = HashUnit(ix, iy + 1, seed), d = HashUnit(ix + 1, iy + 1, seed);
  return (a * (1.0 - sx) + b * sx) * (1.0 - sy) + (c * (1.0 - sx) + d * sx) * sy;
}

// Two octaves of value noise, in [0, 1].
inline double Fractal2(double x, double y, uint32_t seed) {
  return (Noise2(x, y, seed) * 2.0 + Noise2(x * 2.03, y * 2.03, seed + 17)) / 3.0;
}

// Distance of x from the nearest whole number, in [-0.5, 0.5).
inline double CentredFraction(double x) { return x - std::floor(x + 0.5); }

// Angle difference wrapped into [-pi, pi).
inline double WrapAngle(double a) { return a - kTwoPi * std::floor((a + kPi) / kTwoPi); }

inline void Rotate(double& u, double& v, double angle) {
  const double c = std::cos(angle), s = std::sin(angle);
  const double ru = u * c - v * s;
  v = u * s + v * c;
  u = ru;
}

// Signed distance to a regular hexagon with flat top and bottom and inner radius r.
inline double HexagonDistance(double u, double v, double r) {
  const double kx = -0.866025404, ky = 0.5, kz = 0.577350269;
  double px = std::fabs(u), py = std::fabs(v);
  const double d = std::min(kx * px + ky * py, 0.0);
  px -= 2.0 * d * kx;
  py -= 2.0 * d * ky;
  px -= std::clamp(px, -kz * r, kz * r);
  py -= r;
  const double length = std::sqrt(px * px + py * py);
  return py < 0.0 ? -length : length;
}

// Distance from (u, v) to the segment (ax, ay)-(bx, by); along receives the
// position on the segment in [0, 1].
inline double SegmentDistance(double u, double v, double ax, double ay, double bx, double by, double& along) {
  const double dx = bx - ax, dy = by - ay;
  const double lengthSquared = dx * dx + dy * dy;
  along = lengthSquared > 0.0 ? Clamp01(((u - ax) * dx + (v - ay) * dy) / lengthSquared) : 0.0;
  const double ex = u - (ax + along * dx), ey = v - (ay + along * dy);
  return std::sqrt(ex * ex + ey * ey);
}

}  // namespace imagegen
