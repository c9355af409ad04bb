// Motifs of straight-edged geometry: hexagon gems and outlines, honeycomb
// and triangle lattices.
#include "tools/imagegen/motifs.h"

#include <array>

#include "tools/imagegen/field_image.h"

namespace imagegen {

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

}  // namespace imagegen
