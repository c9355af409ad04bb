// The drawing recipes of the image catalogue. Each builds an ink field in
// normalised coordinates (see field_image.h) and renders it; the helpers at
// the top are the shared building blocks (petal and leaf outlines, lines).
#include "tools/imagegen/motifs.h"

#include <array>
#include <vector>

#include "tools/common/random.h"
#include "tools/imagegen/field_image.h"

namespace imagegen {
namespace {

// Radius up to which a radial motif may reach: the border fade covers the
// last four pixels.
double Reach(const Sample& s) { return 1.0 - 4.0 * s.pixel; }

double Screen(double a, double b) { return a + b - a * b; }

double CentredFraction(double x) { return x - std::floor(x + 0.5); }

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

RgbaImage DrawGlow(int size, double coreWidth, double coreStrength, double haloWidth, double haloStrength) {
  return RenderField(size, size, 2, [=](const Sample& s) {
    const double r = std::hypot(s.u, s.v);
    const double core = coreStrength * Gauss(r, coreWidth);
    const double halo = haloStrength * Gauss(r, haloWidth);
    return Ink{Screen(core, halo) * RadialWindow(r / Reach(s)), 0.8 + 0.2 * Gauss(r, coreWidth)};
  });
}

RgbaImage DrawCorona(int size, uint32_t seed) {
  return RenderField(size, size, 2, [=](const Sample& s) {
    const double r = std::hypot(s.u, s.v);
    const double angle = std::atan2(s.v, s.u);
    const double radius = 0.42;
    const double rays = Noise2(std::cos(angle) * 3.0 + 5.0, std::sin(angle) * 3.0 + 5.0, seed);
    const double detail = Noise2(std::cos(angle) * 11.0 + 9.0, std::sin(angle) * 11.0 + 9.0, seed + 1);
    const double outside = std::max(0.0, r - radius);
    const double corona = std::exp(-outside / (0.06 + 0.16 * rays)) * (0.45 + 0.55 * detail);
    const double rim = 0.9 * Gauss(outside, 0.025);
    const Ink light{Screen(corona * 0.85, rim) * RadialWindow(r / Reach(s)), 1.0};
    const Ink disc{0.9 * Cover(r - radius, 1.2 * s.pixel), 0.5 - 0.25 * Gauss(r, 0.3)};
    return Over(disc, light);
  });
}

RgbaImage DrawRings(int size, int count, const double* radii, const double* lineWidths, double glow) {
  std::vector<double> r0(radii, radii + count), w0(lineWidths, lineWidths + count);
  return RenderField(size, size, 2, [=](const Sample& s) {
    const double r = std::hypot(s.u, s.v);
    Ink ink{0.0, 1.0};
    for (size_t i = 0; i < r0.size(); ++i) {
      const double line = Cover(std::fabs(r - r0[i]) - 0.5 * w0[i], std::max(s.pixel, 0.3 * w0[i]));
      const double halo = glow * Gauss(r - r0[i], 0.07 + 2.0 * w0[i]) * (1.0 - 0.15 * i);
      ink = Over(Ink{line * 0.95, 1.0}, Over(Ink{halo, 0.85}, ink));
    }
    ink.alpha *= RadialWindow(r / Reach(s)) > 0.0 ? std::min(1.0, 8.0 * RadialWindow(r / Reach(s))) : 0.0;
    return ink;
  });
}

RgbaImage DrawHalo(int size, double radius, double width, double fill) {
  return RenderField(size, size, 2, [=](const Sample& s) {
    const double r = std::hypot(s.u, s.v);
    const double ring = 0.8 * Gauss(r - radius, width);
    const double inside = fill * Cover(r - radius, width);
    return Ink{Screen(ring, inside) * std::min(1.0, 3.0 * RadialWindow(r / Reach(s))),
               0.85 + 0.15 * Gauss(r - radius, width * 0.5)};
  });
}

RgbaImage DrawStarBurst(int size, int rays, double rayWidth, uint32_t seed) {
  tools::SplitMix random(seed);
  struct Ray {
    double angle, length, width;
  };
  std::vector<Ray> list;
  for (int i = 0; i < rays; ++i) {
    const bool longRay = i % 2 == 0;
    list.push_back({kTwoPi * i / rays + random.Range(-0.08, 0.08),
                    longRay ? random.Range(0.7, 0.92) : random.Range(0.35, 0.6), rayWidth * random.Range(0.7, 1.2)});
  }
  return RenderField(size, size, 2, [=](const Sample& s) {
    const double r = std::hypot(s.u, s.v);
    const double angle = std::atan2(s.v, s.u);
    double light = 0.0;
    for (const Ray& ray : list) {
      const double rel = WrapAngle(angle - ray.angle);
      const double along = r * std::cos(rel);
      if (along <= 0.0 || along >= ray.length) continue;
      const double f = along / ray.length;
      const double across = r * std::fabs(std::sin(rel));
      const double width = ray.width * (1.0 - f) + s.pixel;
      light = Screen(light, Gauss(across, width) * std::pow(1.0 - f, 1.5));
    }
    const double core = Screen(0.95 * Gauss(r, 0.1), 0.4 * Gauss(r, 0.3));
    return Ink{Screen(light, core) * RadialWindow(r / Reach(s)), 0.85 + 0.15 * Gauss(r, 0.15)};
  });
}

RgbaImage DrawSparkle(int size, double armLength, double ring) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double r = std::hypot(s.u, s.v);
    const auto arm = [&](double along, double across, double length) {
      const double f = std::fabs(along) / length;
      if (f >= 1.0) return 0.0;
      return std::exp(-3.2 * f) * (1.0 - f) * Gauss(across, 0.7 * s.pixel + 0.035 * (1.0 - f));
    };
    double du = s.u, dv = s.v;
    Rotate(du, dv, kPi / 4.0);
    double light = Screen(arm(s.u, s.v, armLength), arm(s.v, s.u, armLength));
    light = Screen(light, 0.55 * Screen(arm(du, dv, 0.5 * armLength), arm(dv, du, 0.5 * armLength)));
    light = Screen(light, Screen(0.9 * Gauss(r, 0.09), 0.3 * Gauss(r, 0.28)));
    light = Screen(light, ring * Gauss(r - 0.55, 0.025 + s.pixel));
    return Ink{light * RadialWindow(r / Reach(s)), 0.85 + 0.15 * Gauss(r, 0.12)};
  });
}

RgbaImage DrawPollen(int size, int dots, uint32_t seed) {
  tools::SplitMix random(seed);
  struct Dot {
    double u, v, radius, alpha, value;
  };
  std::vector<Dot> list;
  for (int i = 0; i < dots; ++i) {
    const double r = 0.78 * std::pow(random.Uniform(), 0.6);
    const double angle = random.Range(0.0, kTwoPi);
    const double size01 = random.Uniform();
    list.push_back({r * std::cos(angle), r * std::sin(angle), 0.015 + 0.06 * size01 * size01, random.Range(0.35, 1.0),
                    random.Range(0.8, 1.0)});
  }
  return RenderField(size, size, 2, [=](const Sample& s) {
    const double r = std::hypot(s.u, s.v);
    Ink ink{0.18 * Gauss(r, 0.45), 0.85};
    for (const Dot& dot : list) {
      const double d = std::hypot(s.u - dot.u, s.v - dot.v) - dot.radius;
      if (d > 0.1) continue;
      const double coverage = Cover(d, std::max(s.pixel, 0.5 * dot.radius)) * dot.alpha;
      ink = Over(Ink{coverage, dot.value}, ink);
    }
    ink.alpha *= RadialWindow(r / Reach(s)) > 0.0 ? std::min(1.0, 6.0 * RadialWindow(r / Reach(s))) : 0.0;
    return ink;
  });
}

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

RgbaImage DrawCrescent(int size, double offset, double earthshine) {
  return RenderField(size, size, 2, [=](const Sample& s) {
    const double radius = 0.7;
    const double r1 = std::hypot(s.u, s.v);
    const double r2 = std::hypot(s.u - offset * radius * 1.1, s.v - offset * radius * 0.4);
    const double d1 = r1 - radius, d2 = r2 - radius * 0.96;
    const double shape = std::max(d1, -d2);
    const double body = 0.95 * Cover(shape, 1.2 * s.pixel);
    const double glow = 0.35 * std::exp(-std::max(0.0, shape) / 0.07) * RadialWindow(r1 / Reach(s));
    const double value = 0.85 + 0.15 * SmoothStep(0.0, 0.12, -shape);
    Ink ink = Over(Ink{body, value}, Ink{glow, 0.9});
    if (earthshine > 0.0) ink = Over(ink, Ink{earthshine * Cover(d1, 1.2 * s.pixel), 0.7});
    return ink;
  });
}

RgbaImage DrawSpiralLine(int size, double turns) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double maxRadius = 0.84;
    const double maxAngle = kTwoPi * turns;
    const double b = maxRadius / maxAngle;
    const double r = std::hypot(s.u, s.v);
    double angle = std::atan2(s.v, s.u);
    if (angle < 0.0) angle += kTwoPi;
    double light = 0.0, glow = 0.0;
    const double k0 = std::floor((r / b - angle) / kTwoPi);
    for (double k = k0; k <= k0 + 1.0; k += 1.0) {
      const double phi = angle + kTwoPi * k;
      if (phi < 0.0 || phi > maxAngle) continue;
      const double f = phi / maxAngle;
      const double d = std::fabs(r - b * phi);
      const double width = (0.004 + 0.022 * f) * SmoothStep(1.0, 0.9, f) + 0.3 * s.pixel;
      light = std::max(light, Cover(d - width, s.pixel) * SmoothStep(0.0, 0.12, f));
      glow = std::max(glow, 0.3 * Gauss(d, 0.03 + 0.04 * f) * SmoothStep(0.0, 0.2, f) * SmoothStep(1.0, 0.85, f));
    }
    const Ink ink = Over(Ink{0.95 * light, 1.0}, Ink{glow, 0.85});
    return Ink{ink.alpha * (RadialWindow(r / Reach(s)) > 0.0 ? 1.0 : 0.0), ink.value};
  });
}

RgbaImage DrawDotSpiral(int size, int dots) {
  struct Dot {
    double u, v, radius, alpha;
  };
  std::vector<Dot> list;
  const double spacing = 0.8 / std::sqrt(static_cast<double>(dots));
  const double golden = kPi * (3.0 - std::sqrt(5.0));
  for (int n = 0; n < dots; ++n) {
    const double f = static_cast<double>(n) / dots;
    const double r = spacing * std::sqrt(n + 0.5);
    list.push_back(
        {r * std::cos(n * golden), r * std::sin(n * golden), spacing * 0.42 * (0.5 + 0.5 * f), 0.95 - 0.4 * f});
  }
  return RenderField(size, size, 2, [=](const Sample& s) {
    Ink ink{0.0, 1.0};
    for (const Dot& dot : list) {
      const double du = s.u - dot.u, dv = s.v - dot.v;
      if (std::fabs(du) > 0.1 || std::fabs(dv) > 0.1) continue;
      const double d = std::sqrt(du * du + dv * dv) - dot.radius;
      ink = Stronger(ink, Ink{dot.alpha * Cover(d, std::max(s.pixel, 0.25 * dot.radius)), 0.9 + 0.1 * dot.alpha});
    }
    const double r = std::hypot(s.u, s.v);
    return Over(ink, Ink{0.18 * Gauss(r, 0.35) * RadialWindow(r / Reach(s)), 0.9});
  });
}

RgbaImage DrawGalaxy(int size, int arms, uint32_t seed) {
  return RenderField(size, size, 2, [=](const Sample& s) {
    const double r = std::hypot(s.u, s.v);
    const double angle = std::atan2(s.v, s.u);
    const double pitch = 0.32;
    const double armAngle = std::log(std::max(r, 1e-4) / 0.05) / pitch;
    double light = 0.0;
    for (int j = 0; j < arms; ++j) {
      const double rel = WrapAngle(angle - armAngle - kTwoPi * j / arms);
      light = Screen(light, Gauss(rel * r, 0.07 + 0.12 * r));
    }
    const double clumps = 0.7 + 0.3 * Fractal2(s.u * 7.0 + 3.0, s.v * 7.0 + 3.0, seed);
    light = std::min(1.0, 1.15 * light * clumps * SmoothStep(0.02, 0.2, r));
    const double core = Screen(0.95 * Gauss(r, 0.08), 0.45 * Gauss(r, 0.24));
    return Ink{Screen(light, core) * RadialWindow(r / Reach(s)), 0.82 + 0.18 * Gauss(r, 0.12)};
  });
}

RgbaImage DrawHexagonGem(int size) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double inner = 0.74;
    const double d = HexagonDistance(s.u, s.v, inner - 0.05) - 0.05;
    const double angle = std::atan2(s.v, s.u);
    const int sector = static_cast<int>(std::floor((angle + kPi) / (kPi / 3.0))) % 6;
    static constexpr std::array<double, 6> kFacet = {0.72, 0.8, 0.94, 1.0, 0.9, 0.78};
    const bool table = HexagonDistance(s.u, s.v, inner * 0.45) < 0.0;
    const double value = (table ? 0.95 : kFacet[sector]) + 0.1 * Gauss(d + 0.02, 0.03);
    const Ink body{0.88 * Cover(d, 1.2 * s.pixel), std::min(1.0, value)};
    const double r = std::hypot(s.u, s.v);
    const Ink glow{0.3 * std::exp(-std::max(0.0, d) / 0.05) * RadialWindow(r / Reach(s)), 0.9};
    return Over(body, glow);
  });
}

RgbaImage DrawHexagonOutline(int size) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double outer = HexagonDistance(s.u, s.v, 0.76);
    double ru = s.u, rv = s.v;
    Rotate(ru, rv, kPi / 6.0);
    const double inner = HexagonDistance(ru, rv, 0.56);
    const double lines =
        std::max(Cover(std::fabs(outer) - 0.012, s.pixel), 0.8 * Cover(std::fabs(inner) - 0.008, s.pixel));
    const double glow = Screen(0.3 * Gauss(outer, 0.07), 0.2 * Gauss(inner, 0.06));
    const double r = std::hypot(s.u, s.v);
    return Over(Ink{0.95 * lines, 1.0}, Ink{glow * RadialWindow(r / Reach(s)), 0.85});
  });
}

RgbaImage DrawHoneycomb(int size, double cells) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double px = s.u * cells, py = s.v * cells;
    const double rx = 1.0, ry = 1.7320508;
    const auto wrap = [](double x, double period) { return x - period * std::floor(x / period) - 0.5 * period; };
    const double ax = wrap(px, rx), ay = wrap(py, ry);
    const double bx = wrap(px - 0.5 * rx, rx), by = wrap(py - 0.5 * ry, ry);
    const bool useA = ax * ax + ay * ay < bx * bx + by * by;
    const double gx = std::fabs(useA ? ax : bx), gy = std::fabs(useA ? ay : by);
    const double hex = std::max(gx * 0.5 + gy * 0.8660254, gx);
    const double edge = (0.5 - hex) / cells;
    const double line = Cover(edge - 0.006, s.pixel);
    const double r = std::hypot(s.u, s.v);
    const double window = RadialWindow(r / Reach(s));
    const double fade = std::pow(window, 0.6);
    const double fill = 0.1 * Gauss(edge, 0.05);
    return Over(Ink{0.9 * line * fade, 1.0}, Ink{fill * fade, 0.8});
  });
}

RgbaImage DrawTriangleLattice(int size, double cells) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double spacing = 1.0 / cells;
    double distances[3];
    for (int i = 0; i < 3; ++i) {
      const double angle = kPi / 2.0 + i * kTwoPi / 3.0;
      const double along = (s.u * std::cos(angle) + s.v * std::sin(angle)) / spacing;
      distances[i] = std::fabs(CentredFraction(along)) * spacing;
    }
    const double nearest = std::min({distances[0], distances[1], distances[2]});
    const double toVertex =
        std::sqrt((distances[0] * distances[0] + distances[1] * distances[1] + distances[2] * distances[2]) / 1.5);
    const double line = Cover(nearest - 0.004, s.pixel);
    const double dot = Cover(toVertex - 0.028, s.pixel);
    const double r = std::hypot(s.u, s.v);
    const double fade = std::pow(RadialWindow(r / Reach(s)), 0.7);
    return Over(Ink{0.95 * dot * fade, 1.0}, Ink{0.7 * line * fade, 0.85});
  });
}

RgbaImage DrawBrushStroke(int width, int height, int shape, uint32_t seed) {
  static constexpr double kPaths[3][8] = {
      {-1.55, -0.2, -0.6, 0.2, 0.6, 0.26, 1.55, -0.1},
      {-1.5, -0.38, -0.85, 0.52, 0.85, 0.52, 1.5, -0.38},
      {-1.55, 0.0, -0.55, 0.62, 0.55, -0.62, 1.55, 0.0},
  };
  const double* p = kPaths[std::clamp(shape, 0, 2)];
  constexpr int kSteps = 400;
  std::vector<double> xs(kSteps + 1), ys(kSteps + 1), lengths(kSteps + 1, 0.0);
  for (int i = 0; i <= kSteps; ++i) {
    const double t = static_cast<double>(i) / kSteps, m = 1.0 - t;
    xs[i] = m * m * m * p[0] + 3 * m * m * t * p[2] + 3 * m * t * t * p[4] + t * t * t * p[6];
    ys[i] = m * m * m * p[1] + 3 * m * m * t * p[3] + 3 * m * t * t * p[5] + t * t * t * p[7];
    if (i > 0) lengths[i] = lengths[i - 1] + std::hypot(xs[i] - xs[i - 1], ys[i] - ys[i - 1]);
  }
  const double total = lengths[kSteps];
  const double maxWidth = 0.36;
  return RenderField(width, height, 2, [=](const Sample& s) {
    double best = 1e9, bestT = 0.0, bestSide = 1.0;
    for (int i = 0; i < kSteps; ++i) {
      if (std::fabs(s.u - xs[i]) > maxWidth + 0.1 || std::fabs(s.v - ys[i]) > maxWidth + 0.1) continue;
      double along = 0.0;
      const double d = SegmentDistance(s.u, s.v, xs[i], ys[i], xs[i + 1], ys[i + 1], along);
      if (d < best) {
        best = d;
        bestT = (lengths[i] + along * (lengths[i + 1] - lengths[i])) / total;
        const double cross = (xs[i + 1] - xs[i]) * (s.v - ys[i]) - (ys[i + 1] - ys[i]) * (s.u - xs[i]);
        bestSide = cross >= 0.0 ? 1.0 : -1.0;
      }
    }
    if (best > maxWidth + 0.05) return Ink{0.0, 0.85};
    const double t = bestT;
    const double halfWidth =
        maxWidth * (0.72 + 0.28 * SmoothStep(0.0, 0.15, t)) * (1.0 - 0.6 * std::pow(t, 1.6)) + 0.01;
    const double across = bestSide * best / halfWidth;
    const double streak = 0.65 * Noise1((across + 1.0) * 11.0, seed) + 0.35 * Noise1((across + 1.0) * 23.0, seed + 5);
    const double edgeNoise = 0.92 + 0.08 * Noise1(t * 40.0, seed + 9);
    const double coverage = Cover(best - halfWidth * edgeNoise, 1.3 * s.pixel);
    const double dryness = 0.8 * SmoothStep(0.45, 1.0, t) + 0.2 * std::pow(std::fabs(across), 3.0);
    const double grain = 0.1 * Noise2(t * 28.0, across * 3.0, seed + 13);
    const double body = SmoothStep(dryness - 0.12, dryness + 0.12, streak + grain);
    return Ink{coverage * body * (0.72 + 0.24 * streak), 0.7 + 0.3 * streak};
  });
}

RgbaImage DrawBokeh(int size, int sides, double fill, double rim) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double radius = 0.8;
    double d;
    if (sides == 6) {
      double ru = s.u, rv = s.v;
      Rotate(ru, rv, 0.17);
      d = HexagonDistance(ru, rv, radius * 0.9 - 0.06) - 0.06;
    } else {
      d = std::hypot(s.u, s.v) - radius;
    }
    const double inside = Cover(d, 1.5 * s.pixel);
    const double r = std::hypot(s.u, s.v);
    const double rings = 1.0 + 0.025 * std::cos(r * 30.0);
    const double edge = rim * Gauss(d + 0.035, 0.035);
    return Ink{Screen(fill * rings, edge) * inside, 0.92 + 0.08 * Gauss(d + 0.035, 0.05)};
  });
}

RgbaImage DrawBubble(int size) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double radius = 0.8;
    const double r = std::hypot(s.u, s.v);
    const double d = r - radius;
    const double inside = Cover(d, 1.2 * s.pixel);
    double light = Screen(0.07, 0.28 * Gauss(d + 0.08, 0.08)) * inside;
    light = Screen(light, 0.7 * Gauss(d + 0.012, 0.022) * Cover(d - 0.02, s.pixel));
    double hu = s.u + 0.33, hv = s.v - 0.36;
    Rotate(hu, hv, kPi / 4.0);
    const double highlight = Cover(std::hypot(hu / 0.17, hv / 0.065) - 1.0, 0.35);
    light = Screen(light, 0.85 * highlight);
    light = Screen(light, 0.5 * Cover(std::hypot(s.u - 0.42, s.v + 0.4) - 0.04, 0.02));
    return Ink{light, 1.0};
  });
}

RgbaImage DrawCometArc(int size, double spanRadians) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double radius = 0.7;
    const double tail = kPi / 2.0 - spanRadians / 2.0 + kPi * 0.1;
    const double r = std::hypot(s.u, s.v);
    double rel = WrapAngle(std::atan2(s.v, s.u) - tail);
    if (rel < -0.3) rel += kTwoPi;
    const double f = rel / spanRadians;
    const double d = std::fabs(r - radius);
    double body = 0.0, glow = 0.0;
    if (f >= 0.0 && f <= 1.08) {
      // Past the head the trail ends smoothly under the head's own glow.
      const double end = SmoothStep(1.08, 1.0, f) * SmoothStep(0.0, 0.3, f);
      const double g = std::min(f, 1.0);
      const double width = 0.01 + 0.06 * std::pow(g, 1.2) + 0.3 * s.pixel;
      body = Cover(d - width, 1.5 * s.pixel) * (0.3 + 0.7 * g) * end;
      glow = 0.5 * Gauss(d, 2.0 * width + 0.04) * (0.3 + 0.7 * g) * end;
    }
    const double headAngle = tail + spanRadians;
    const double headDistance = std::hypot(s.u - radius * std::cos(headAngle), s.v - radius * std::sin(headAngle));
    const double head = Screen(0.95 * Cover(headDistance - 0.075, 1.5 * s.pixel), 0.6 * Gauss(headDistance, 0.16));
    const double light = Screen(Screen(body, glow), head) * std::min(1.0, 8.0 * RadialWindow(r / Reach(s)));
    return Ink{light, 0.8 + 0.2 * Clamp01(f)};
  });
}

RgbaImage DrawTwinArcs(int size) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double radius = 1.25, centre = 0.9;
    double light = 0.0, glow = 0.0;
    for (double side : {-1.0, 1.0}) {
      const double d = std::fabs(std::hypot(s.u - side * centre, s.v) - radius);
      const double ends = SmoothStep(0.82, 0.35, std::fabs(s.v));
      light = std::max(light, Cover(d - 0.011, s.pixel) * ends);
      glow = std::max(glow, 0.28 * Gauss(d, 0.05) * ends);
    }
    const double r = std::hypot(s.u, s.v);
    return Over(Ink{0.95 * light, 1.0}, Ink{glow * (RadialWindow(r / Reach(s)) > 0.0 ? 1.0 : 0.0), 0.85});
  });
}

RgbaImage DrawThinArc(int size, double spanRadians) {
  return RenderField(size, size, 3, [=](const Sample& s) {
    const double radius = 0.8, centreV = -0.3;
    const double r = std::hypot(s.u, s.v - centreV);
    const double rel = WrapAngle(std::atan2(s.v - centreV, s.u) - kPi / 2.0);
    const double f = std::fabs(rel) / (spanRadians / 2.0);
    const double ends = SmoothStep(1.0, 0.55, f);
    const double d = std::fabs(r - radius);
    const double line = Cover(d - 0.006 - 0.3 * s.pixel, s.pixel) * ends;
    const double glow = 0.25 * Gauss(d, 0.045) * ends;
    const double distance = std::hypot(s.u, s.v);
    return Over(Ink{0.95 * line, 1.0}, Ink{glow * (RadialWindow(distance / Reach(s)) > 0.0 ? 1.0 : 0.0), 0.85});
  });
}

}  // namespace imagegen
