// Motifs drawn along curves: crescents, spirals, a galaxy, arcs and the
// brush stroke.
#include "tools/imagegen/motifs.h"

#include <vector>

#include "tools/imagegen/field_image.h"

namespace imagegen {

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
