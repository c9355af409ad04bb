// Motifs of plants: petals, rosettes, leaves, fronds and feathers. The
// petal and leaf outlines at the top are shared by several of them.
#include "tools/imagegen/motifs.h"

#include <array>
#include <vector>

#include "tools/common/random.h"
#include "tools/imagegen/field_image.h"

namespace imagegen {
namespace {

// A petal lying along local v from base to tip, at most halfWidth wide;
// roundness 0 gives a pointed lance, 1 a wide blunt tip.
Ink PetalInk(double u, double v, double base, double tip, double halfWidth, double roundness, double bend,
             double pixel) {
  const double length = tip - base;
  const double t = (v - base) / length;
  const double tc = Clamp01(t);
  const double shape = std::pow(std::sin(kPi * std::pow(tc, 1.0 + roundness)), 1.1 - 0.6 * roundness);
  const double width = halfWidth * shape;
  const double centre = bend * halfWidth * tc * tc;
  const double across = u - centre;
  const double d = std::max({std::fabs(across) - width, base - v, v - tip});
  const double coverage = Cover(d, 1.2 * pixel);
  if (coverage <= 0.0) return {0.0, 1.0};
  const double fraction = width > 1e-9 ? Clamp01(std::fabs(across) / width) : 1.0;
  const double veins = std::pow(0.5 + 0.5 * std::cos(fraction * kPi * 9.0), 8.0) * 0.06 * (1.0 - tc);
  const double midrib = 0.10 * Gauss(across, 0.02 * halfWidth + pixel) * (1.0 - tc);
  const double value = 0.72 + 0.28 * std::pow(tc, 0.6) - veins - midrib;
  const double alpha = (0.62 + 0.33 * SmoothStep(0.0, 0.55, tc)) * coverage;
  return {alpha, value};
}

// A leaf along local v from 0 (stalk end) to length: midrib, side veins
// slanting towards the tip, optional saw-tooth edge.
Ink LeafInk(double u, double v, double length, double halfWidth, double serration, double bend, double pixel,
            uint32_t seed) {
  const double t = v / length;
  const double tc = Clamp01(t);
  const double teeth = 14.0;
  const double tooth = tc * teeth - std::floor(tc * teeth);
  const double edge = 1.0 - serration * tooth * tooth;
  const double width = halfWidth * std::pow(std::sin(kPi * std::pow(tc, 0.85)), 0.9) * edge;
  const double centre = bend * halfWidth * tc * tc * 1.5;
  const double across = u - centre;
  const double d = std::max({std::fabs(across) - width, -v, v - length});
  const double coverage = Cover(d, 1.2 * pixel);
  if (coverage <= 0.0) return {0.0, 0.85};
  const double fraction = width > 1e-9 ? Clamp01(std::fabs(across) / width) : 1.0;
  const double veinLine = Gauss(CentredFraction(tc * 9.0 - fraction * 2.2), 0.09) * SmoothStep(0.04, 0.12, fraction) *
                          SmoothStep(0.95, 0.6, fraction);
  const double midrib = Gauss(across, 0.012 * length + 0.7 * pixel);
  const double mottle = Fractal2(u * 9.0, v * 9.0, seed);
  const double value = 0.70 + 0.12 * mottle + 0.16 * veinLine + 0.2 * midrib;
  const double alpha = (0.88 - 0.1 * fraction * fraction) * coverage;
  return {alpha, std::min(1.0, value)};
}

// A line of constant half width between two points, with rounded ends.
double LineCoverage(double u, double v, double ax, double ay, double bx, double by, double halfWidth, double pixel) {
  double along = 0.0;
  const double d = SegmentDistance(u, v, ax, ay, bx, by, along);
  return Cover(d - halfWidth, pixel);
}

}  // namespace

RgbaImage DrawPetal(int width, int height, double roundness, double bend) {
  return RenderField(width, height, 3, [=](const Sample& s) {
    const double extentV = static_cast<double>(height) / std::min(width, height);
    const double extentU = static_cast<double>(width) / std::min(width, height);
    const double margin = 6.0 * s.pixel;
    const double halfWidth = extentU - margin - 0.04 - std::fabs(bend) * 0.25;
    return PetalInk(s.u, s.v, -extentV + margin, extentV - margin, halfWidth, roundness, bend, s.pixel);
  });
}

RgbaImage DrawRosette(int size, int petals, uint32_t seed) {
  tools::SplitMix random(seed);
  std::vector<double> angles, lengths;
  for (int i = 0; i < petals; ++i) {
    angles.push_back(kTwoPi * i / petals + random.Range(-0.06, 0.06));
    lengths.push_back(random.Range(0.82, 0.9));
  }
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double r = std::hypot(s.u, s.v);
    Ink ink{0.0, 1.0};
    for (size_t i = 0; i < angles.size(); ++i) {
      double lu = s.u, lv = s.v;
      Rotate(lu, lv, -angles[i] + kPi / 2.0);
      const double tip = std::min(lengths[i], Reach(s) - 2.0 * s.pixel);
      ink = Over(PetalInk(lu, lv, 0.06, tip, 0.3, 0.75, 0.0, s.pixel), ink);
    }
    const double angle = std::atan2(s.v, s.u);
    const double stamens = 0.5 + 0.5 * std::cos(angle * 14.0) * std::cos(r * 90.0);
    const Ink centre{0.97 * Cover(r - 0.14, 1.2 * s.pixel), 0.5 + 0.25 * stamens};
    return Over(centre, ink);
  });
}

RgbaImage DrawLeaf(int width, int height, double breadth, double serration, double bend, uint32_t seed) {
  return RenderField(width, height, 3, [=](const Sample& s) {
    const double extentV = static_cast<double>(height) / std::min(width, height);
    const double extentU = static_cast<double>(width) / std::min(width, height);
    const double margin = 6.0 * s.pixel;
    const double stalk = 0.12 * extentV;
    const double base = -extentV + margin + stalk;
    const double length = 2.0 * extentV - 2.0 * margin - stalk;
    const double halfWidth = std::min(breadth * length * 0.5, extentU - margin - std::fabs(bend) * 0.3);
    const Ink leaf = LeafInk(s.u, s.v - base, length, halfWidth, serration, bend, s.pixel, seed);
    const double stem =
        LineCoverage(s.u, s.v, 0.0, -extentV + margin, 0.0, base + 0.05, 0.012 + 0.4 * s.pixel, s.pixel);
    return Over(leaf, Ink{0.9 * stem, 0.75});
  });
}

RgbaImage DrawLobedLeaf(int size, uint32_t seed) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double baseV = -0.62;
    Ink ink{0.0, 0.85};
    const std::array<double, 3> angles = {-0.95, 0.0, 0.95};
    const std::array<double, 3> lengths = {0.78, 1.45, 0.78};
    for (int i = 0; i < 3; ++i) {
      double lu = s.u, lv = s.v - baseV;
      Rotate(lu, lv, angles[i]);
      ink = Stronger(ink, LeafInk(lu, lv + 0.05, lengths[i], 0.27 * lengths[i] + 0.05, 0.0, 0.0, s.pixel, seed + i));
    }
    const double stem = LineCoverage(s.u, s.v, 0.0, baseV, 0.08, -0.9, 0.014, s.pixel);
    return Over(ink, Ink{0.9 * stem, 0.75});
  });
}

RgbaImage DrawFrond(int width, int height, uint32_t seed) {
  struct Leaflet {
    double u, v, angle, length;
  };
  const double extentV = static_cast<double>(height) / std::min(width, height);
  const double bottom = -extentV + 0.1, top = extentV - 0.12;
  const auto stemU = [=](double t) { return 0.25 * t * t - 0.1 * t; };
  std::vector<Leaflet> leaflets;
  for (int i = 0; i < 26; ++i) {
    const double t = 0.1 + 0.86 * i / 25.0;
    const double side = i % 2 == 0 ? 1.0 : -1.0;
    const double length = 0.12 + 0.72 * std::pow(1.0 - t, 0.9) * std::min(1.0, t * 6.0);
    leaflets.push_back({stemU(t), bottom + t * (top - bottom), side * (kPi / 2.0 - 0.95), length});
  }
  return RenderField(width, height, 3, [=](const Sample& s) {
    Ink ink{0.0, 0.85};
    for (const Leaflet& leaflet : leaflets) {
      const double du = s.u - leaflet.u, dv = s.v - leaflet.v;
      if (du * du + dv * dv > leaflet.length * leaflet.length * 1.1) continue;
      double lu = du, lv = dv;
      Rotate(lu, lv, leaflet.angle);
      ink = Stronger(ink, LeafInk(lu, lv, leaflet.length, 0.2 * leaflet.length, 0.0, 0.0, s.pixel, seed));
    }
    const double t = Clamp01((s.v - bottom) / (top - bottom));
    const double stemWidth = 0.022 * (1.0 - t) + 0.006;
    const double stem = Cover(std::max({std::fabs(s.u - stemU(t)) - stemWidth, bottom - s.v, s.v - top}), s.pixel);
    return Over(Ink{0.95 * stem, 0.8}, ink);
  });
}

RgbaImage DrawFeather(int width, int height, double breadth, double bend, uint32_t seed) {
  return RenderField(width, height, 3, [=](const Sample& s) {
    const double extentV = static_cast<double>(height) / std::min(width, height);
    const double extentU = static_cast<double>(width) / std::min(width, height);
    const double margin = 6.0 * s.pixel;
    const double bottom = -extentV + margin, top = extentV - margin - 0.02;
    const double t = (s.v - bottom) / (top - bottom);
    const double tc = Clamp01(t);
    const double centre = bend * (tc * tc - tc) * 0.6;
    const double across = s.u - centre;
    const double vaneStart = 0.2;
    const double room = extentU - margin - std::fabs(bend) * 0.15;
    Ink vane{0.0, 0.85};
    if (tc > vaneStart) {
      const double q = (tc - vaneStart) / (1.0 - vaneStart);
      const double profile = std::pow(std::sin(kPi * std::pow(q, 0.75)), 0.55);
      const bool left = across < 0.0;
      const uint32_t sideSeed = seed + (left ? 7u : 0u);
      // Barbs leave the shaft slanting towards the tip; one unit of barb is one barb.
      const double barb = (s.v - bottom) * 16.0 - std::fabs(across) * 13.0 + (left ? 0.37 : 0.0);
      const double ragged = 0.92 + 0.08 * Noise1(barb * 0.35, sideSeed);
      const double halfWidth = std::min(room, breadth * (left ? 0.85 : 1.0)) * profile * ragged;
      const double fraction = halfWidth > 1e-9 ? std::fabs(across) / halfWidth : 2.0;
      const double coverage = Cover(std::fabs(across) - halfWidth, 1.5 * s.pixel);
      const double stripe = 0.5 + 0.5 * std::cos(kTwoPi * barb);
      const double index = std::floor(barb);
      const bool split = HashUnit(static_cast<int32_t>(index), 1, sideSeed) < 0.09;
      const double splitFrom = 0.3 + 0.4 * HashUnit(static_cast<int32_t>(index), 2, sideSeed);
      const double gap =
          split ? SmoothStep(splitFrom, splitFrom + 0.12, fraction) * Gauss(barb - index - 0.5, 0.28) : 0.0;
      const double down = 0.45 + 0.55 * SmoothStep(0.0, 0.25, q);
      vane.alpha = coverage * (1.0 - 0.9 * gap) * down * (0.7 + 0.14 * stripe) * (1.0 - 0.25 * fraction * fraction);
      vane.value = 0.8 + 0.12 * stripe - 0.08 * fraction;
    }
    const double shaftWidth = 0.025 * (1.0 - tc) + 0.006 + 0.3 * s.pixel;
    const double shaft = Cover(std::max({std::fabs(across) - shaftWidth, bottom - s.v, s.v - top}), s.pixel);
    return Over(Ink{0.95 * shaft, 1.0}, vane);
  });
}

}  // namespace imagegen
