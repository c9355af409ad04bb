// The viewer's per-frame cost (frame function + render function) on a
// default screen, with the recording engine (logic only) and with the
// headless software renderer at 960 x 960; and start-up to the first frame
// with the real content.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/app_reset.h"
#include "app/app_state.h"
#include "app/frame.h"
#include "app/music.h"
#include "app/render.h"
#include "app/startup.h"
#include "app/texture_catalogue.h"
#include "composition/composition.h"
#include "composition/screen_seeds.h"
#include "engine/engine_factory.h"
#include "engine/sdl/headless_engine.h"
#include "scene/scene.h"
#include "tests/support/recording_engine.h"
#include "tests/support/recording_platform.h"

namespace {

class InRunFolder {
 public:
  InRunFolder() : previous_(std::filesystem::current_path()) { std::filesystem::current_path(DRIFTGLOW_RUN_DIR); }
  ~InRunFolder() { std::filesystem::current_path(previous_); }

 private:
  std::filesystem::path previous_;
};

void prepareScreen(int structure = 4242, int colour = 777, int parameters = 31337) {
  resetScreen();
  buildScreenFromSeeds(compositionContext(), structure, colour, parameters);
  APP_STATE.autoCountdown = 1 << 30;  // keep the automatic generator from replacing the screen
}

void BM_FrameAndRenderRecording(benchmark::State& state) {
  resetAppStateForTests();
  ScopedRecordingEngine engine;
  engine->recordCalls = false;
  engine->recordQuads = false;
  for (const char* track : {"sound/MoonGarden.mp3", "sound/Kalliope.mp3", "sound/Mercury.mp3"})
    engine->resources[track] = "x";
  APP_STATE.engine = hgeCreate(kHgeVersion);
  loadMusic();
  APP_STATE.scene = std::make_unique<SPIX>();
  APP_STATE.scene->noSpatialIndex = true;
  for (int i = 0; i < 40; ++i) APP_STATE.scene->AddGraphics("g" + std::to_string(i) + ".png", 0, 0, 0, 64, 64, 0, 0, 0);
  prepareScreen();
  for (auto _ : state) {
    frameFunction();
    renderFunction();
  }
  state.counters["figures"] = composition.figures.Count();
  APP_STATE.engine->Release();
  resetAppStateForTests();
}
BENCHMARK(BM_FrameAndRenderRecording)->Unit(benchmark::kMillisecond);

// Frame and render function on a headless engine at 960 x 960 with the real
// catalogue, on the screen of the given seeds, one frame per iteration.
void runHeadlessFrames(benchmark::State& state, HeadlessRenderer renderer, bool music, const int (&seeds)[3]) {
  resetAppStateForTests();
  InRunFolder folder;
  HeadlessEngine engine(960, 960, renderer);
  hgeUseEngine(&engine);
  RecordingPlatform platform;
  APP_STATE.platform = &platform;
  APP_STATE.engine = hgeCreate(kHgeVersion);
  if (!engine.System_Initiate()) {
    state.SkipWithError("headless engine did not start");
    return;
  }
  APP_STATE.engine->Resource_AttachPack("Graphics.paq");
  APP_STATE.scene = std::make_unique<SPIX>();
  APP_STATE.scene->noSpatialIndex = true;
  if (loadTextureCatalogue()) {
    state.SkipWithError("catalogue did not load");
    return;
  }
  if (music) {
    APP_STATE.engine->Resource_AttachPack("Sound.paq");
    loadMusic();
  }
  prepareScreen(seeds[0], seeds[1], seeds[2]);
  for (auto _ : state) {
    frameFunction();
    renderFunction();
  }
  resetAppStateForTests();
  engine.System_Shutdown();
  hgeUseEngine(nullptr);
}

// First argument 1: with the music playing, as in the viewer; 0: silent.
// Second argument: 0 SDL's software renderer, 1 its OpenGL renderer.
void BM_FrameAndRenderHeadless960(benchmark::State& state) {
  runHeadlessFrames(state, state.range(1) ? HeadlessRenderer::OpenGL : HeadlessRenderer::Software, state.range(0) != 0,
                    {4242, 777, 31337});
}
BENCHMARK(BM_FrameAndRenderHeadless960)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(100);

// Drawing cost of the OpenGL path on a few fixed screens, light to heavy,
// each frame with its motion. The time is the whole process's processor time
// (llvmpipe's threads included) per frame: it tells the drawing cost apart
// from what else the machine is doing. 20 ms of it on each of two cores is a
// frame rate of 50.
void BM_DrawScreenOpenGL(benchmark::State& state) {
  constexpr int kScreens[][3] = {{4242, 777, 31337}, {1, 2, 3},       {84474, 10074, 58487},
                                 {5, 6, 7},          {27, 1965, 411}, {90210, 31, 7777}};
  const auto& seeds = kScreens[state.range(0)];
  runHeadlessFrames(state, HeadlessRenderer::OpenGL, false, seeds);
  state.counters["seed"] = seeds[0];
}
BENCHMARK(BM_DrawScreenOpenGL)
    ->DenseRange(0, 5)
    ->MeasureProcessCPUTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(150);

// driftglowMain with the real content; Arg 0: start-up only (catalogue,
// fonts, music, packs); Arg 1: also the first frame (first screen and its drawing).
void BM_StartupToFirstFrame(benchmark::State& state) {
  InRunFolder folder;
  for (auto _ : state) {
    resetAppStateForTests();
    HeadlessEngine engine(960, 960);
    engine.SetMaxFrames(static_cast<int>(state.range(0)));
    hgeUseEngine(&engine);
    RecordingPlatform platform;
    driftglowMain(platform);
    hgeUseEngine(nullptr);
  }
  resetAppStateForTests();
}
BENCHMARK(BM_StartupToFirstFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
