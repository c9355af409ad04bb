// Evaluator benchmarks: a whole screen's worth of generator formulas (9 runs
// and 10 variable sets at each of 40 x 40 points), and its pieces.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "calc/calc.h"
#include "calc/value_text.h"

namespace {

// A small fixed generator, so every run measures the same formulas.
class BenchRandom {
 public:
  explicit BenchRandom(std::uint32_t seed) : state_(seed) {}
  int Below(int n) {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<int>((state_ >> 8) % static_cast<std::uint32_t>(n));
  }

 private:
  std::uint32_t state_;
};

// "z=" and one to four terms like the screen generator's.
std::string GeneratorFormula(BenchRandom& random) {
  static const char* const kFunctions[] = {"sin(", "cos(", "tan("};
  static const char* const kArguments[] = {"t)", "t*a)", "t*b)", "t*c)", "t*d)", "x*y)"};
  static const char* const kSuffixes[] = {"", "/e1", "/e2", "^2"};
  static const char* const kJoins[] = {"+", "-", "*"};
  std::string formula = "z=";
  int terms = random.Below(4) + 1;
  for (int j = 0; j < terms; ++j) {
    formula += kFunctions[random.Below(3)];
    formula += kArguments[random.Below(6)];
    formula += kSuffixes[random.Below(4)];
    if (j + 1 < terms) formula += kJoins[random.Below(3)];
  }
  return formula;
}

struct Screen {
  std::vector<std::string> formulas;  // nine
  double a, b, c, d, e1, e2, f;
};

std::vector<Screen> MakeScreens() {
  BenchRandom random(20240613u);
  std::vector<Screen> screens(8);
  for (Screen& screen : screens) {
    for (int i = 0; i < 9; ++i) screen.formulas.push_back(GeneratorFormula(random));
    screen.a = random.Below(61) - 30;
    screen.b = random.Below(61) - 30;
    screen.c = random.Below(61) - 30;
    screen.d = random.Below(61) - 30;
    screen.e1 = random.Below(31) - 15;
    screen.e2 = random.Below(961) - 480;
    screen.f = random.Below(1921) - 960;
  }
  return screens;
}

void SetNumber(CALC& calc, const char* name, double value) {
  char text[kValueTextCapacity];
  calc.vars.Set(name, std::string_view(text, FormatValueText(value, text)));
}

// One screen as the generator builds it: a fresh CALC, then at every point
// of the 40 x 40 grid ten Sets from FloatToText and nine Executes.
void BM_CalcScreenLoad(benchmark::State& state) {
  const std::vector<Screen> screens = MakeScreens();
  const float width = 960, height = 960;
  std::size_t which = 0;
  double checksum = 0;
  for (auto _ : state) {
    const Screen& screen = screens[which++ % screens.size()];
    CALC calc;
    for (float y = -height; y < height; y += 0.05f * height) {
      for (float x = -width; x < width; x += 0.05f * width) {
        SetNumber(calc, "x", x);
        SetNumber(calc, "y", y);
        SetNumber(calc, "t", y * width + x);
        SetNumber(calc, "a", screen.a);
        SetNumber(calc, "b", screen.b);
        SetNumber(calc, "c", screen.c);
        SetNumber(calc, "d", screen.d);
        SetNumber(calc, "e1", screen.e1);
        SetNumber(calc, "e2", screen.e2);
        SetNumber(calc, "f", screen.f);
        for (const std::string& formula : screen.formulas) {
          calc.Execute(formula);
          checksum += calc.vars.GetNumber("z");
        }
      }
    }
  }
  benchmark::DoNotOptimize(checksum);
  state.SetItemsProcessed(state.iterations() * 1600 * 9);
}
BENCHMARK(BM_CalcScreenLoad)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_CalcExecuteOneFormula(benchmark::State& state) {
  CALC calc;
  SetNumber(calc, "t", -460752);
  SetNumber(calc, "x", -912);
  SetNumber(calc, "y", -480);
  SetNumber(calc, "a", 17);
  SetNumber(calc, "e1", -7);
  for (auto _ : state) benchmark::DoNotOptimize(calc.Execute("z=cos(t)-tan(t*a)^2*sin(x*y)/e1"));
}
BENCHMARK(BM_CalcExecuteOneFormula);

// Results of the shapes the generator produces: sines, quotients, products.
std::vector<double> SampleResults() {
  std::vector<double> values;
  for (int i = 1; i <= 1024; ++i) {
    values.push_back(std::sin(i * 37.0));
    values.push_back(std::tan(i * 11.0) / (i % 15 + 1));
    values.push_back(i * 48.0 * (i % 61 - 30));
  }
  return values;
}

void BM_FloatToText(benchmark::State& state) {
  const std::vector<double> values = SampleResults();
  std::size_t i = 0;
  char text[kValueTextCapacity];
  for (auto _ : state) benchmark::DoNotOptimize(FormatValueText(values[i++ % values.size()], text));
}
BENCHMARK(BM_FloatToText);

void BM_RoundValue(benchmark::State& state) {
  const std::vector<double> values = SampleResults();
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(RoundValue(values[i++ % values.size()]));
}
BENCHMARK(BM_RoundValue);

void BM_TextToFloat(benchmark::State& state) {
  const char* const texts[] = {"-460752", "0.333333333333333", "1.5E-7", "48", "-0.958924274663138"};
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(ParseValueText(texts[i++ % 5]));
}
BENCHMARK(BM_TextToFloat);

}  // namespace
