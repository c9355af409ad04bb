// Composition benchmarks: generating a default 960 × 960 screen from a
// 32-image catalogue (formulas, evaluator, figures and their scene objects),
// one animation frame of a full screen with turning and scaling on, and the
// reset of a full screen. Recording engine, CPU only.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "app/app_reset.h"
#include "app/app_state.h"
#include "composition/composition.h"
#include "composition/frame_input.h"
#include "composition/screen_seeds.h"
#include "scene/scene.h"
#include "tests/support/recording_engine.h"

namespace {

// A scene of 32 graphics of various sizes, as the catalogue registers them.
class BenchScreen {
 public:
  BenchScreen() {
    resetAppStateForTests();
    engine_->recordCalls = false;
    engine_->recordQuads = false;
    APP_STATE.engine = &*engine_;
    APP_STATE.scene = std::make_unique<SPIX>();
    APP_STATE.scene->noSpatialIndex = true;
    for (int i = 0; i < 32; ++i) {
      const float side = static_cast<float>(16 + (i * 7) % 48);
      APP_STATE.scene->AddGraphics("img" + std::to_string(i) + ".png", 0, 0, 0, side, side, 0, 0, 0);
    }
  }
  ~BenchScreen() { resetAppStateForTests(); }
  // What resetScreen does to the scene and the composition.
  static void Reset() {
    APP_STATE.scene->ClearObjects(false);
    composition.Clear(compositionContext());
  }
  static void Build(int which) {
    // Seeds spread over the viewer's range, so every run sees the same mix of screens.
    buildScreenFromSeeds(compositionContext(), 1 + which * 6151 % 100000, 1 + which * 7919 % 100000,
                         1 + which * 104729 % 100000);
    // The sorted lists take in what was staged for them when next read; the
    // screen is only complete once they have.
    benchmark::DoNotOptimize(composition.figures.ItemAt(0));
    benchmark::DoNotOptimize(APP_STATE.scene->drawOrder.ItemAt(0));
  }
  RecordingEngine& Engine() { return *engine_; }

 private:
  ScopedRecordingEngine engine_;
};

void BM_GenerateScreen(benchmark::State& state) {
  BenchScreen screen;
  int which = 0;
  for (auto _ : state) {
    state.PauseTiming();
    BenchScreen::Reset();
    state.ResumeTiming();
    BenchScreen::Build(which++ % 16);
  }
  state.counters["figures"] = composition.figures.Count();
}
BENCHMARK(BM_GenerateScreen)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_AnimateFrame(benchmark::State& state) {
  BenchScreen screen;
  BenchScreen::Reset();
  BenchScreen::Build(3);
  composition.rotationMode = 1;
  composition.scaleMode = 1;
  composition.zoomMode = 2;
  composition.brightnessSum = composition.alphaSum = -2;  // the colour check of a screen shown for a while
  FrameInput input = readFrameInput(screen.Engine(), 1);
  input.mouseX = input.mouseY = 480;
  const CompositionContext context = compositionContext();
  for (auto _ : state) {
    composition.Animate(0.02f, input, context);
    screen.Engine().transforms.clear();
  }
  state.counters["figures"] = composition.figures.Count();
}
BENCHMARK(BM_AnimateFrame)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_ClearScreen(benchmark::State& state) {
  BenchScreen screen;
  int which = 0;
  for (auto _ : state) {
    state.PauseTiming();
    BenchScreen::Reset();
    BenchScreen::Build(which++ % 16);
    state.ResumeTiming();
    BenchScreen::Reset();
  }
}
BENCHMARK(BM_ClearScreen)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace
