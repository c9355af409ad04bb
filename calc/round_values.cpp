// RoundValues: RoundValue over a whole column at once, as one branch-free
// loop that the compiler can vectorise, with RoundValue itself left for the
// few values that loop cannot settle exactly. Standard library only.
#include "calc/round_values.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "calc/value_text.h"

namespace {

// Every power of ten up to 1e22 is exact in a double.
constexpr int kMaxExactPower = 22;

// The high half of a double's significand (Veltkamp's split), for products
// whose rounding error must be known exactly without a fused multiply-add.
inline double HighHalf(double a) {
  const double c = 134217729.0 * a;  // 2^27 + 1
  return c - (c - a);
}

// The largest whole number not above q, for |q| below 2^51: adding and
// taking away 1.5 × 2^52 rounds to the nearest whole number.
inline double FloorOf(double q) {
  constexpr double kRounder = 6755399441055744.0;
  const double nearest = (q + kRounder) - kRounder;
  return nearest > q ? nearest - 1.0 : nearest;
}

// 10^n for a whole n from 0 to 22, exactly: every partial product is a
// power of ten that a double holds exactly.
inline double PowerOfTen(double n) {
  double power = 1.0;
  bool take = n >= 16.0;
  power = take ? power * 1e16 : power;
  n = take ? n - 16.0 : n;
  take = n >= 8.0;
  power = take ? power * 1e8 : power;
  n = take ? n - 8.0 : n;
  take = n >= 4.0;
  power = take ? power * 1e4 : power;
  n = take ? n - 4.0 : n;
  take = n >= 2.0;
  power = take ? power * 1e2 : power;
  n = take ? n - 2.0 : n;
  take = n >= 1.0;
  return take ? power * 1e1 : power;
}

[[gnu::always_inline]] inline void RoundValuesOf(double* values, std::size_t count) {
  // Blocks keep the marks of the values left to RoundValue on the stack.
  // Everything in the first loop is arithmetic and choices between two
  // values (no table look-ups, no 64-bit multiplies), so that it vectorises.
  constexpr std::size_t kBlock = 256;
  constexpr double kTwo52 = 4503599627370496.0;
  double unsettled[kBlock];
  for (std::size_t start = 0; start < count; start += kBlock) {
    double* block = values + start;
    const std::size_t n = std::min(kBlock, count - start);
    // Whole numbers below 1e15 stay as they are (-0 becomes 0); adding and
    // taking away 2^52 rounds a value below 2^52 to a whole number. Columns
    // of whole numbers (products of the inputs, say) are common enough to be
    // settled on their own first.
    // Counted as an integer: a sum of doubles must be added in order, which
    // keeps the loop from running on vectors.
    std::uint64_t notWhole = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double v = block[i];
      const double magnitude = std::fabs(v);
      const bool whole = (magnitude < 1e15) & ((magnitude + kTwo52) - kTwo52 == magnitude);
      notWhole |= whole ? 0u : 1u;
    }
    if (notWhole == 0) {
      for (std::size_t i = 0; i < n; ++i) block[i] += 0.0;
      continue;
    }
    std::uint64_t anyUnsettled = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double v = block[i];
      const double magnitude = std::fabs(v);
      const bool small = magnitude < 1e15;
      const bool whole = small & ((magnitude + kTwo52) - kTwo52 == magnitude);
      // RoundValue's common path: the same scaling by a power of ten, with
      // the exact error of the scaling product deciding every case instead
      // of only those near a tie. The binary exponent is read as a double.
      std::uint64_t bits;
      std::memcpy(&bits, &magnitude, sizeof bits);
      const std::uint64_t exponentBits = (bits >> 52) | 0x4330000000000000ull;
      double exponent;
      std::memcpy(&exponent, &exponentBits, sizeof exponent);
      exponent = exponent - kTwo52 - 1023.0;
      // floor(exponent × log10(2)) as RoundValue works it out: × 78913 / 2^18.
      const double shiftGuess = 14.0 - FloorOf(exponent * 78913.0 * (1.0 / 262144.0));
      const bool inRange = (shiftGuess >= 1.0) & (shiftGuess <= kMaxExactPower);
      const double lowPower = PowerOfTen(inRange ? shiftGuess : 1.0);
      const double highPower = lowPower / 10.0;
      const double low = magnitude * lowPower;
      const bool tooMany = low >= 1e15;
      const double power = tooMany ? highPower : lowPower;
      const double scaled = tooMany ? magnitude * highPower : low;
      const bool fits = (scaled >= 1e14 + 1.0) & (scaled <= 1e15 - 1.0);
      // scaled is below 2^50, so this is its floor, and fraction is exact.
      const double nearest = (scaled + kTwo52) - kTwo52;
      const double base = nearest > scaled ? nearest - 1.0 : nearest;
      const double fraction = scaled - base;
      // magnitude × power = scaled + error exactly (Dekker's product).
      const double magnitudeHigh = HighHalf(magnitude);
      const double magnitudeLow = magnitude - magnitudeHigh;
      const double powerHigh = HighHalf(power);
      const double powerLow = power - powerHigh;
      const double error =
          magnitudeLow * powerLow -
          (((scaled - magnitudeHigh * powerHigh) - magnitudeLow * powerHigh) - magnitudeHigh * powerLow);
      // Its sign is the sign of the exact distance from the halfway point;
      // an exact tie is left to RoundValue.
      const double side = (fraction - 0.5) + error;
      const double rounded = (side > 0 ? base + 1.0 : base) / power;
      const bool common = small & inRange & fits & (side != 0);
      // Written as a chain of choices: a combined condition would keep the
      // compiler from vectorising.
      double out = v;
      double mark = 1.0;
      out = common ? (v < 0 ? -rounded : rounded) : out;
      mark = common ? 0.0 : mark;
      out = whole ? v + 0.0 : out;
      mark = whole ? 0.0 : mark;
      block[i] = out;
      unsettled[i] = mark;
      anyUnsettled |= mark != 0.0 ? 1u : 0u;
    }
    if (anyUnsettled == 0) continue;
    // Exact ties, values that are not finite, magnitudes from 1e14 up and
    // below about 1e-8.
    for (std::size_t i = 0; i < n; ++i) {
      if (unsettled[i] != 0.0) block[i] = RoundValue(block[i]);
    }
  }
}

#if defined(__x86_64__)
// The same loops built for AVX2 as well (four lanes instead of two). Every
// step is an exactly rounded operation on one element, so the results are
// the same whichever version runs.
[[gnu::target("avx2")]] void RoundValuesWithAvx2(double* values, std::size_t count) { RoundValuesOf(values, count); }
#endif

}  // namespace

void RoundValues(double* values, std::size_t count) {
#if defined(__x86_64__)
  static const bool avx2 = __builtin_cpu_supports("avx2");
  if (avx2) {
    RoundValuesWithAvx2(values, count);
    return;
  }
#endif
  RoundValuesOf(values, count);
}
