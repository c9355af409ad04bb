// A yardstick for the evaluator: the formula work of BM_GenerateScreen's
// sixteen screens done by muparser (a peer library, linked into this
// benchmark program only), each formula parsed once per screen and evaluated
// at every grid point in doubles, without the 15-digit rounding; beside it
// the same load through the evaluator's column runner. Compare both with
// BM_GenerateScreen measured in the same run.
#include <benchmark/benchmark.h>

#include <muParser.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/app_reset.h"
#include "app/app_state.h"
#include "calc/calc.h"
#include "calc/calc_columns.h"
#include "calc/value_text.h"
#include "composition/composition.h"
#include "composition/screen_seeds.h"
#include "scene/scene.h"
#include "tests/support/recording_engine.h"

namespace {

constexpr int kScreens = 16;
constexpr int kRunFormulas = 9;

struct ScreenFormulas {
  std::array<std::string, kRunFormulas> expressions;  // without the leading "z="
  double a, b, c, d, e1, e2, f;
};

// The formulas and parameters of the screens BM_GenerateScreen builds, from
// the same seeds.
std::vector<ScreenFormulas> GeneratedScreens() {
  resetAppStateForTests();
  ScopedRecordingEngine engine;
  engine->recordCalls = false;
  engine->recordQuads = false;
  APP_STATE.engine = &*engine;
  APP_STATE.scene = std::make_unique<SPIX>();
  APP_STATE.scene->noSpatialIndex = true;
  APP_STATE.scene->AddGraphics("img.png", 0, 0, 0, 32, 32, 0, 0, 0);
  std::vector<ScreenFormulas> screens;
  for (int which = 0; which < kScreens; ++which) {
    APP_STATE.scene->ClearObjects(false);
    composition.Clear(compositionContext());
    buildScreenFromSeeds(compositionContext(), 1 + which * 6151 % 100000, 1 + which * 7919 % 100000,
                         1 + which * 104729 % 100000);
    ScreenFormulas screen{};
    for (int k = 0; k < kRunFormulas; ++k) screen.expressions[k] = composition.formulas[k].substr(2);
    screen.a = composition.a, screen.b = composition.b, screen.c = composition.c, screen.d = composition.d;
    screen.e1 = composition.e1, screen.e2 = composition.e2, screen.f = composition.f;
    screens.push_back(screen);
  }
  resetAppStateForTests();
  return screens;
}

const std::vector<ScreenFormulas>& Screens() {
  static const std::vector<ScreenFormulas> screens = GeneratedScreens();
  return screens;
}

// The 40 × 40 grid of a 960 × 960 canvas, stepped in floats as the generator steps it.
template <class Visit>
void ForEachGridPoint(Visit&& visit) {
  const float width = 960, height = 960;
  for (float y = -height; y < height; y = static_cast<float>(y + 0.05 * height)) {
    for (float x = -width; x < width; x = static_cast<float>(x + 0.05 * width)) {
      const float rowCode = y * width;
      visit(static_cast<double>(x), static_cast<double>(y), static_cast<double>(rowCode + x));
    }
  }
}

void BM_MuparserScreenFormulas(benchmark::State& state) {
  const std::vector<ScreenFormulas>& screens = Screens();
  int which = 0;
  double checksum = 0;
  for (auto _ : state) {
    ScreenFormulas screen = screens[static_cast<std::size_t>(which++ % kScreens)];
    double x = 0, y = 0, t = 0;
    std::array<mu::Parser, kRunFormulas> parsers;
    for (int k = 0; k < kRunFormulas; ++k) {
      mu::Parser& parser = parsers[static_cast<std::size_t>(k)];
      parser.DefineVar("x", &x);
      parser.DefineVar("y", &y);
      parser.DefineVar("t", &t);
      parser.DefineVar("a", &screen.a);
      parser.DefineVar("b", &screen.b);
      parser.DefineVar("c", &screen.c);
      parser.DefineVar("d", &screen.d);
      parser.DefineVar("e1", &screen.e1);
      parser.DefineVar("e2", &screen.e2);
      parser.SetExpr(screen.expressions[static_cast<std::size_t>(k)]);
    }
    ForEachGridPoint([&](double px, double py, double pt) {
      x = px, y = py, t = pt;
      for (mu::Parser& parser : parsers) checksum += parser.Eval();
    });
  }
  benchmark::DoNotOptimize(checksum);
  state.SetItemsProcessed(state.iterations() * 1600 * kRunFormulas);
}
BENCHMARK(BM_MuparserScreenFormulas)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

// The same load through the evaluator's column runner, exact to 15 digits.
void BM_CalcColumnsScreenFormulas(benchmark::State& state) {
  const std::vector<ScreenFormulas>& screens = Screens();
  std::vector<double> xs, ys, ts;
  ForEachGridPoint([&](double px, double py, double pt) { xs.push_back(px), ys.push_back(py), ts.push_back(pt); });
  std::vector<double> results(xs.size());
  std::vector<std::uint8_t> errors(xs.size());
  int which = 0;
  double checksum = 0;
  for (auto _ : state) {
    const ScreenFormulas& screen = screens[static_cast<std::size_t>(which++ % kScreens)];
    CALC calc;
    const double parameters[] = {screen.a, screen.b, screen.c, screen.d, screen.e1, screen.e2};
    const char* const names[] = {"a", "b", "c", "d", "e1", "e2"};
    for (int p = 0; p < 6; ++p) calc.vars.Set(names[p], CALC_VAR::FloatToText(parameters[p]));
    CalcColumns columns;
    columns.Reset(xs.size());
    columns.SetInput("x", xs.data());
    columns.SetInput("y", ys.data());
    columns.SetInput("t", ts.data());
    for (const std::string& expression : screen.expressions) {
      columns.Execute(calc, "z=" + expression, "z", results.data(), errors.data());
      checksum += results[0];
    }
  }
  benchmark::DoNotOptimize(checksum);
  state.SetItemsProcessed(state.iterations() * 1600 * kRunFormulas);
}
BENCHMARK(BM_CalcColumnsScreenFormulas)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
