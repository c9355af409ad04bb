// RoundValues against RoundValue, bit for bit, over ties, their neighbours,
// values that are not finite and random bit patterns.
#include "calc/round_values.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "calc/value_text.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(RoundValues, GivesRoundValueOfEveryElementBitForBit) {
  std::mt19937_64 random(2026);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-40, 40);
  std::vector<double> values = {0.0,
                                -0.0,
                                kInf,
                                -kInf,
                                std::nan(""),
                                -std::nan(""),
                                1e14 + 0.5,
                                12345678901234.5,
                                999999999999999.6,
                                1e15,
                                -3.0,
                                5e-324,
                                1.7976931348623157e308};
  for (int i = 0; i < 200000; ++i) {
    const double tie = (std::floor(unit(random) * 1e14) + 0.5) * std::pow(10.0, exponent(random) - 14);
    std::uint64_t bits = random();
    double raw;
    std::memcpy(&raw, &bits, sizeof raw);
    for (double v : {tie, std::nextafter(tie, kInf), std::nextafter(tie, -kInf),
                     unit(random) * std::pow(10.0, exponent(random)), std::round(unit(random) * 1e6), raw}) {
      values.push_back(v);
    }
  }
  std::vector<double> rounded = values;
  RoundValues(rounded.data(), rounded.size());
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double expected = RoundValue(values[i]);
    ASSERT_EQ(std::memcmp(&rounded[i], &expected, sizeof expected), 0) << "value " << values[i] << " at " << i;
  }
}

}  // namespace
