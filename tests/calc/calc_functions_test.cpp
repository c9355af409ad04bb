// The 23 functions: each against <cmath> over a range of arguments, the
// domain errors, "rnd" with its random source, and "pi".
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/random_source.h"
#include "core/random_below.h"

namespace {

struct FunctionCase {
  const char* name;
  std::function<double(double)> reference;
  std::function<bool(double)> inDomain;
};

bool Always(double) { return true; }

TEST(CalcFunctions, EachMatchesTheCLibraryOverARange) {
  const std::vector<FunctionCase> functions = {
      {"sin", [](double r) { return std::sin(r); }, Always},
      {"cos", [](double r) { return std::cos(r); }, Always},
      {"tan", [](double r) { return std::tan(r); }, [](double r) { return std::cos(r) != 0; }},
      {"cotg", [](double r) { return 1 / std::tan(r); }, [](double r) { return std::sin(r) != 0; }},
      {"exp", [](double r) { return std::exp(r); }, Always},
      {"ln", [](double r) { return std::log(r); }, [](double r) { return r > 0; }},
      {"asin", [](double r) { return std::asin(r); }, [](double r) { return r >= -1 && r <= 1; }},
      {"acos", [](double r) { return std::acos(r); }, [](double r) { return r >= -1 && r <= 1; }},
      {"atan", [](double r) { return std::atan(r); }, Always},
      {"acotg", [](double r) { return 1 / std::atan(r); }, Always},
      {"log", [](double r) { return std::log10(r); }, [](double r) { return r > 0; }},
      {"sqr", [](double r) { return std::sqrt(r); }, [](double r) { return r >= 0; }},
      {"abs", [](double r) { return std::fabs(r); }, Always},
      {"int", [](double r) { return std::floor(r); }, Always},
      {"sinh", [](double r) { return std::sinh(r); }, Always},
      {"cosh", [](double r) { return std::cosh(r); }, Always},
      {"tanh", [](double r) { return std::tanh(r); }, Always},
      {"cotgh", [](double r) { return 1 / std::tanh(r); }, Always},
      {"pi", [](double r) { return r * 3.141592653589793; }, Always},
  };
  std::vector<std::string> arguments;
  for (int i = -60; i <= 60; ++i) arguments.push_back(CALC_VAR::FloatToText(i * 0.0371));
  for (const char* extra : {"0.999999999999999", "1", "-1", "1.000000000001", "700", "-700", "1000", "1E-300"}) {
    arguments.push_back(extra);
  }
  CALC calc;
  for (const FunctionCase& function : functions) {
    for (const std::string& argument : arguments) {
      const std::string text = std::string(function.name) + "(" + argument + ")";
      const double r = CALC_VAR::TextToFloat(argument);
      std::string result = calc.Execute(text);
      if (function.inDomain(r)) {
        EXPECT_EQ(calc.error, 0) << text;
        EXPECT_EQ(result, CALC_VAR::FloatToText(function.reference(r))) << text;
      } else {
        EXPECT_EQ(calc.error, 9) << text;
        EXPECT_EQ(calc.error_pos, static_cast<int>(text.size())) << text;
        EXPECT_EQ(result, "") << text;
      }
    }
  }
}

struct ResultCase {
  const char* text;
  const char* result;
  int error;
};

TEST(CalcFunctions, DomainErrorsAndNonFiniteResults) {
  const ResultCase cases[] = {
      {"ln(0)", "", 9},
      {"ln(-1)", "", 9},
      {"log(0)", "", 9},
      {"log(-1)", "", 9},
      {"sqr(-1)", "", 9},
      {"asin(2)", "", 9},
      {"asin(-1.5)", "", 9},
      {"acos(2)", "", 9},
      {"cotg(0)", "", 9},
      {"sqr(16)", "4", 0},
      {"log(100)", "2", 0},
      {"int(-1.5)", "-2", 0},
      {"int(1.5)", "1", 0},
      {"abs(-3)", "3", 0},
      {"pi(1)", "3.14159265358979", 0},
      {"pi(2)", "6.28318530717959", 0},
      {"exp(0)", "1", 0},
      {"ln(1)", "0", 0},
      {"acotg(0)", "INF", 0},
      {"cotgh(0)", "INF", 0},
      {"exp(1000)", "INF", 0},
      {"-exp(1000)", "-INF", 0},
      {"sinh(1000)", "INF", 0},
      {"exp(1000)-exp(1000)", "NAN", 0},
      {"10^400", "INF", 0},
      {"1E300*1E300", "INF", 0},
      {"sin", "0", 0},  // no operand of its own: the empty slot after it, read as 0
  };
  for (const ResultCase& c : cases) {
    CALC calc;
    EXPECT_EQ(calc.Execute(c.text), c.result) << c.text;
    EXPECT_EQ(calc.error, c.error) << c.text;
  }
}

class RecordingRandom : public ::testing::Test {
 protected:
  static int Draw(int n) {
    requests.push_back(n);
    return n == 0 ? 0 : n - 1;
  }
  void SetUp() override {
    requests.clear();
    previous_ = SetCalcRandomBelow(&Draw);
  }
  void TearDown() override { SetCalcRandomBelow(previous_); }

  static inline std::vector<int> requests;

 private:
  RandomBelowFunction previous_ = nullptr;
};

TEST_F(RecordingRandom, RndAsksForTheTruncatedMagnitude) {
  CALC calc;
  const ResultCase cases[] = {
      {"rnd(6)", "5", 0},         {"rnd(-6)", "5", 0},         {"rnd(6.9)", "5", 0},
      {"rnd(0.5)", "0", 0},       {"rnd(0)", "0", 0},          {"rnd(2147483647)", "2147483646", 0},
      {"rnd(2147483648)", "", 9}, {"rnd(-2147483648)", "", 9}, {"rnd(1E300)", "", 9},
  };
  for (const ResultCase& c : cases) {
    EXPECT_EQ(calc.Execute(c.text), c.result) << c.text;
    EXPECT_EQ(calc.error, c.error) << c.text;
  }
  EXPECT_EQ(requests, (std::vector<int>{6, 6, 6, 0, 0, 2147483647}));
}

TEST(CalcFunctions, RndUsesTheCLibraryGeneratorByDefault) {
  ASSERT_EQ(SetCalcRandomBelow(nullptr), &randomBelow);
  CALC calc;
  std::vector<int> seen(6, 0);
  for (int i = 0; i < 600; ++i) {
    EXPECT_EQ(calc.Execute("rnd(1)"), "0");
    EXPECT_EQ(calc.Execute("rnd(0.5)"), "0");
    int value = std::stoi(calc.Execute("rnd(-6)"));
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 5);
    ++seen[static_cast<std::size_t>(value)];
  }
  for (int count : seen) EXPECT_GT(count, 0);
  EXPECT_EQ(randomBelow(0), 0);
  std::srand(99);
  int expected = std::rand() % 1000;
  std::srand(99);
  EXPECT_EQ(randomBelow(1000), expected);
}

}  // namespace
