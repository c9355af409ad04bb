// CalcColumns against CALC::Execute run point after point: on formulas of the
// screen generator's shape and on wider ones using every column operation,
// over inputs that round near ties, huge and tiny magnitudes, values that
// are not finite and divisors of zero, results (bit for bit), error codes
// and error positions must all agree. Texts whose points could affect each
// other must be refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/calc_columns.h"
#include "calc/value_text.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

// "z=" and one to four terms as the screen generator writes them.
std::string GeneratorFormula(std::mt19937& random) {
  static const char* const kFunctions[] = {"sin(", "cos(", "tan("};
  static const char* const kArguments[] = {"t)", "t*a)", "t*b)", "t*c)", "t*d)", "x*y)"};
  static const char* const kSuffixes[] = {"", "/e1", "/e2", "^2"};
  static const char* const kJoins[] = {"+", "-", "*"};
  std::string formula = "z=";
  const int terms = static_cast<int>(random() % 4) + 1;
  for (int j = 0; j < terms; ++j) {
    formula += kFunctions[random() % 3];
    formula += kArguments[random() % 6];
    formula += kSuffixes[random() % 4];
    if (j + 1 < terms) formula += kJoins[random() % 3];
  }
  return formula;
}

// A random expression over every function and operator a column can run.
std::string WideExpression(std::mt19937& random, int depth) {
  static const char* const kLeaves[] = {"x", "y", "t", "a", "e1", "raw", "0", "2", "0.5", "1e300", "12345678901234.5"};
  static const char* const kFunctions[] = {"sin",  "cos",  "tan",   "cotg",  "exp", "ln",  "asin",
                                           "acos", "atan", "acotg", "log",   "sqr", "abs", "int",
                                           "sinh", "cosh", "tanh",  "cotgh", "pi"};
  static const char* const kOperators[] = {"+", "-", "*",  "/",  "^",  "%", "@", "\\", "<",
                                           ">", "=", "<=", ">=", "<>", "&", "|", "{",  "}"};
  switch (depth <= 0 ? 0 : random() % 4) {
    case 0: return kLeaves[random() % std::size(kLeaves)];
    case 1:
      return std::string(kFunctions[random() % std::size(kFunctions)]) + "(" + WideExpression(random, depth - 1) + ")";
    case 2: return "(-" + WideExpression(random, depth - 1) + ")";
    default:
      return WideExpression(random, depth - 1) + kOperators[random() % std::size(kOperators)] +
             WideExpression(random, depth - 1);
  }
}

// Inputs of every awkward kind, mixed with ordinary ones.
std::vector<double> Inputs(std::mt19937_64& random, std::size_t count) {
  std::uniform_real_distribution<double> unit(-1.0, 1.0);
  std::uniform_int_distribution<int> exponent(-20, 20);
  const double special[] = {0.0,
                            -0.0,
                            kInf,
                            -kInf,
                            std::nan(""),
                            1e300,
                            -1e-300,
                            5e-324,
                            1e15,
                            999999999999999.5,
                            12345678901234.5,
                            0.1234567890123455};
  std::vector<double> values;
  for (std::size_t i = 0; i < count; ++i) {
    const double tie = (std::floor(unit(random) * 1e14) + 0.5) * std::pow(10.0, exponent(random) - 14);
    switch (random() % 6) {
      case 0: values.push_back(special[random() % std::size(special)]); break;
      case 1: values.push_back(std::nextafter(tie, random() % 2 ? kInf : -kInf)); break;
      case 2: values.push_back(tie); break;
      case 3: values.push_back(std::round(unit(random) * 1e6)); break;
      default: values.push_back(unit(random) * std::pow(10.0, exponent(random))); break;
    }
  }
  return values;
}

void SetNumber(CALC& calc, const char* name, double value) {
  char text[kValueTextCapacity];
  calc.vars.Set(name, std::string_view(text, FormatValueText(value, text)));
}

class CalcColumnsTest : public ::testing::Test {
 protected:
  static constexpr std::size_t kPoints = 300;

  void SetUp() override {
    std::mt19937_64 random(99);
    x_ = Inputs(random, kPoints);
    y_ = Inputs(random, kPoints);
    t_ = Inputs(random, kPoints);
    columns_.Reset(kPoints);
    columns_.SetInput("x", x_.data());
    columns_.SetInput("y", y_.data());
    columns_.SetInput("t", t_.data());
  }

  // Scalars as the generator sets them, a zero divisor among them half the
  // time, and one variable held as a longer text than its value's.
  static void SetScalars(CALC& calc, std::mt19937& random) {
    for (const char* name : {"a", "b", "c", "d"}) SetNumber(calc, name, static_cast<double>(random() % 61) - 30);
    SetNumber(calc, "e1", random() % 2 ? 0.0 : static_cast<double>(random() % 31) - 15);
    SetNumber(calc, "e2", static_cast<double>(random() % 961) - 480);
    calc.vars.Set("raw", "0.12345678901234567890");
  }

  // Runs text both ways and expects the same outcome at every point.
  void ExpectSameAsPointByPoint(const std::string& text, unsigned seed) {
    std::mt19937 random(seed);
    CALC columnCalc;
    CALC pointCalc;
    SetScalars(columnCalc, random);
    random.seed(seed);
    SetScalars(pointCalc, random);
    std::vector<double> results(kPoints, -1.0);
    std::vector<std::uint8_t> errors(kPoints);
    std::vector<std::int32_t> positions(kPoints);
    ASSERT_TRUE(columns_.Execute(columnCalc, text, "z", results.data(), errors.data(), positions.data())) << text;
    EXPECT_FALSE(columnCalc.vars.Exists("z")) << text;
    for (std::size_t i = 0; i < kPoints; ++i) {
      SetNumber(pointCalc, "x", x_[i]);
      SetNumber(pointCalc, "y", y_[i]);
      SetNumber(pointCalc, "t", t_[i]);
      pointCalc.Execute(text);
      ASSERT_EQ(errors[i], pointCalc.error) << text << " at point " << i;
      ASSERT_EQ(positions[i], pointCalc.error_pos) << text << " at point " << i;
      if (pointCalc.error != 0) continue;
      const double expected = pointCalc.vars.GetNumber("z");
      ASSERT_EQ(std::memcmp(&results[i], &expected, sizeof expected), 0)
          << text << " at point " << i << ": " << results[i] << " against " << expected;
    }
  }

  std::vector<double> x_, y_, t_;
  CalcColumns columns_;
};

TEST_F(CalcColumnsTest, GeneratorFormulasGiveWhatPointByPointGives) {
  std::mt19937 random(31337);
  for (int i = 0; i < 300; ++i) ExpectSameAsPointByPoint(GeneratorFormula(random), static_cast<unsigned>(i));
  for (const char* constant : {"z=0.098039", "z=1", "z=1e307*10"}) ExpectSameAsPointByPoint(constant, 1);
}

TEST_F(CalcColumnsTest, EveryOperationGivesWhatPointByPointGives) {
  std::mt19937 random(4711);
  for (int i = 0; i < 600; ++i) {
    ExpectSameAsPointByPoint("z=" + WideExpression(random, 1 + i % 5), static_cast<unsigned>(i));
  }
  // Failures the scanner or the variable list decides, the same at every
  // point, and a text with spaces and a closing ";".
  for (const char* text : {"z=x+q", "z=(x", "z=x)", "z=1e400", "z=2(3)", "z=x*-y", "z = x ; "}) {
    ExpectSameAsPointByPoint(text, 2);
  }
}

TEST_F(CalcColumnsTest, RefusesTextsWhosePointsCouldAffectEachOther) {
  CALC calc;
  calc.vars.Set("z", "5");
  calc.use_hook[0] = [](double v) { return v; };
  std::vector<double> results(kPoints, -1.0);
  std::vector<std::uint8_t> errors(kPoints, 7);
  for (const char* text : {"z=rnd(5)", "z=use1(x)", "z=z+x",
                           "z=x\xA4"
                           "2",
                           "q=x", "a=1;z=x", "z=x;1", "z=sin", "x", "=x"}) {
    EXPECT_FALSE(columns_.Execute(calc, text, "z", results.data(), errors.data())) << text;
  }
  EXPECT_EQ(results[0], -1.0);
  EXPECT_EQ(errors[0], 7);
  EXPECT_EQ(calc.vars.Get("z"), "5");
}

}  // namespace
