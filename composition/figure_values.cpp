// Graphic index and scale of a figure from its formula results.
#include "composition/figure_values.h"

#include <limits>

float narrowToFloat(double v) {
  // The largest float plus half a unit in its last place: from here on the
  // rounding goes to infinity.
  constexpr double kOverflow = 340282356779733661637539395458142568448.0;  // 2^128 - 2^103
  if (v >= kOverflow) return std::numeric_limits<float>::infinity();
  if (v <= -kOverflow) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(v);
}

int32_t figureGraphicIndex(double z, int32_t n) {
  if (n <= 0) return 0;
  const double product = z * n;
  constexpr double kLimit = 9223372036854775808.0;  // 2^63
  if (!(product > -kLimit && product < kLimit)) return 0;
  const auto low = static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(product)));
  const int32_t remainder = low % n;
  return remainder < 0 ? -remainder : remainder;
}

float figureScale(double z) {
  float s = narrowToFloat(z);
  if (!(s >= 0.05)) s = 0.05f;
  if (s > 3) s = 3;
  return s;
}
