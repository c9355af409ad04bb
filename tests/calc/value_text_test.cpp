// Value texts: FloatToText's forms and boundaries, TextToFloat's prefix rule,
// and the exactness of the fast 15-digit rounding against std::to_chars.
#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "calc/calc_var.h"
#include "calc/value_text.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct FormatCase {
  double value;
  const char* text;
};

TEST(FloatToText, WritesTheCanonicalForms) {
  const FormatCase cases[] = {
      {0.0, "0"},
      {-0.0, "0"},
      {0.5, "0.5"},
      {1000, "1000"},
      {-6, "-6"},
      {1.0 / 3, "0.333333333333333"},
      {2.0 / 3, "0.666666666666667"},
      {-2.0 / 3, "-0.666666666666667"},
      {std::sqrt(2.0), "1.4142135623731"},
      {0.0001, "0.0001"},
      {-0.0001, "-0.0001"},
      {0.00012345, "0.00012345"},
      {0.00001, "1E-5"},
      {-0.00001, "-1E-5"},
      {0.000099999999999999, "9.9999999999999E-5"},
      {9.9999999999999999e-5, "0.0001"},  // rounds up across the boundary
      {1e15, "1E15"},
      {-1e15, "-1E15"},
      {999999999999999.0, "999999999999999"},
      {999999999999999.4, "999999999999999"},
      {999999999999999.6, "1E15"},
      {1.5e20, "1.5E20"},
      {1.5e-7, "1.5E-7"},
      {123456789012345678.0, "1.23456789012346E17"},
      {1e300, "1E300"},
      {1e-300, "1E-300"},
      {12.5, "12.5"},
      {100.25, "100.25"},
      {1234567.891, "1234567.891"},
      {0.1 + 0.2, "0.3"},
      {1e14 + 0.5, "100000000000000"},  // an exact tie goes to the even digit
      {1e14 + 1.5, "100000000000002"},
      {5e-324, "4.94065645841247E-324"},
      {std::numeric_limits<double>::max(), "1.79769313486232E308"},
      {kInf, "INF"},
      {-kInf, "-INF"},
      {std::nan(""), "NAN"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(CALC_VAR::FloatToText(c.value), c.text) << "value " << c.value;
  }
}

TEST(FloatToText, IgnoresTheProcessLocale) {
  const char* previous = std::setlocale(LC_ALL, nullptr);
  std::string saved = previous != nullptr ? previous : "C";
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr && std::setlocale(LC_ALL, "cs_CZ.UTF-8") == nullptr &&
      std::setlocale(LC_ALL, "fr_FR.UTF-8") == nullptr) {
    GTEST_SKIP() << "no locale with a decimal comma is installed";
  }
  EXPECT_EQ(CALC_VAR::FloatToText(0.5), "0.5");
  EXPECT_EQ(CALC_VAR::TextToFloat("0.5"), 0.5);
  EXPECT_EQ(CALC_VAR::TextToFloat("0,5"), 0.0);
  std::setlocale(LC_ALL, saved.c_str());
}

struct ParseCase {
  const char* text;
  double value;
};

TEST(TextToFloat, ReadsTheLongestDecimalPrefix) {
  const ParseCase cases[] = {
      {"", 0},
      {"abc", 0},
      {",5", 0},
      {"0,5", 0},
      {" 2.5E3x", 2500},
      {"\t\n-4", -4},
      {"+7", 7},
      {".5", 0.5},
      {"5.", 5},
      {".", 0},
      {"-.", 0},
      {"e5", 0},
      {"2e", 2},
      {"2e+", 2},
      {"2E-3", 0.002},
      {"1.5.2", 1.5},
      {"0x10", 0},
      {"007", 7},
      {"1e400", kInf},
      {"-1e400", -kInf},
      {"1e-400", 0},
      {"0.000000000000000000000000000001", 1e-30},
      {"123456789012345678901234567890", 123456789012345678901234567890.0},
      {"4.94065645841247E-324", 5e-324},
      {"1.79769313486232E308", kInf},  // past the largest double once rounded
      {"INF", kInf},
      {"-INF", -kInf},
      {"inf", 0},
      {" INF", 0},
      {"INFINITY", 0},
  };
  for (const ParseCase& c : cases) {
    EXPECT_EQ(CALC_VAR::TextToFloat(c.text), c.value) << "text \"" << c.text << '"';
  }
  EXPECT_TRUE(std::isnan(CALC_VAR::TextToFloat("NAN")));
  EXPECT_EQ(CALC_VAR::TextToFloat("nan"), 0);
}

// The reference: printf-style digits from std::to_chars read back with
// std::from_chars, i.e. TextToFloat(FloatToText(v)) done the slow way.
double ReferenceRound(double v) {
  char buffer[64];
  auto written = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::scientific, 14);
  double result = 0;
  auto read = std::from_chars(buffer, written.ptr, result);
  if (read.ec == std::errc::result_out_of_range) return v < 0 ? -kInf : kInf;
  return result + 0.0;
}

TEST(RoundValue, MatchesTheTextRoundTripExactly) {
  std::mt19937_64 random(12345);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-40, 40);
  for (int i = 0; i < 300000; ++i) {
    double v = unit(random) * std::pow(10.0, exponent(random));
    ASSERT_EQ(RoundValue(v), ReferenceRound(v)) << "value " << v;
  }
  // Raw bit patterns reach subnormals and the largest magnitudes too.
  for (int i = 0; i < 300000; ++i) {
    std::uint64_t bits = random();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    if (!std::isfinite(v)) continue;
    ASSERT_EQ(RoundValue(v), ReferenceRound(v)) << "bits " << bits;
  }
  // Values just beside 15-digit ties, where the fast path must defer.
  for (int i = 0; i < 100000; ++i) {
    double tie = (std::floor(unit(random) * 1e14) + 0.5) * std::pow(10.0, exponent(random) - 14);
    for (double v : {tie, std::nextafter(tie, kInf), std::nextafter(tie, -kInf)}) {
      ASSERT_EQ(RoundValue(v), ReferenceRound(v)) << "value " << v;
    }
  }
}

TEST(RoundValue, AgreesWithFormattingThenReading) {
  std::mt19937_64 random(777);
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-320, 308);
  for (int i = 0; i < 100000; ++i) {
    double v = unit(random) * std::pow(10.0, exponent(random));
    if (!std::isfinite(v)) continue;
    std::string text = CALC_VAR::FloatToText(v);
    ASSERT_EQ(RoundValue(v), CALC_VAR::TextToFloat(text)) << text;
    // A value text is a fixed point of the round trip.
    ASSERT_EQ(CALC_VAR::FloatToText(CALC_VAR::TextToFloat(text)), text);
  }
}

}  // namespace
