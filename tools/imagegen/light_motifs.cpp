// Motifs of light: glows, coronas, rings, bursts, sparkles, pollen, bokeh
// and bubbles, each an ink field rendered by field_image.h.
#include "tools/imagegen/motifs.h"

#include <vector>

#include "tools/common/random.h"
#include "tools/imagegen/field_image.h"

namespace imagegen {

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

}  // namespace imagegen
