// What keeping a screen costs the viewer: the read-back of a 960 x 960 frame
// in the frame loop (the only part of a picture the animation waits for),
// the PNG and its description written on the worker, and the description
// the keeper makes of every new screen.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "app/app_reset.h"
#include "app/app_state.h"
#include "app/frame.h"
#include "app/picture_saver.h"
#include "app/screen_json.h"
#include "composition/composition.h"
#include "composition/screen_seeds.h"
#include "engine/sdl/headless_engine.h"
#include "scene/scene.h"

namespace {

// A frame of a 960 x 960 target with something drawn in it.
bool drawFrame(HeadlessEngine& engine) {
  if (!engine.System_Initiate()) return false;
  engine.Gfx_BeginScene(0);
  engine.Gfx_Clear(0xFF203040);
  SpriteQuad quad{};
  const float corners[4][2] = {{100, 100}, {860, 140}, {800, 860}, {120, 700}};
  for (int i = 0; i < 4; ++i) quad.v[i] = {corners[i][0], corners[i][1], 0.5f, 0xC0FF8040u + 0x20u * i, 0, 0};
  quad.blend = kBlendAlpha;
  engine.Gfx_RenderQuad(&quad);
  return true;
}

void BM_ReadFrameBack960(benchmark::State& state) {
  HeadlessEngine engine(960, 960, state.range(0) ? HeadlessRenderer::OpenGL : HeadlessRenderer::Software);
  engine.System_SetState(BoolState::UseSound, false);
  if (!drawFrame(engine)) {
    state.SkipWithError("the headless engine did not start");
    return;
  }
  FramePixels frame;
  for (auto _ : state) benchmark::DoNotOptimize(engine.Gfx_ReadFrame(frame));
  engine.Gfx_EndScene();
}
BENCHMARK(BM_ReadFrameBack960)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_WritePicture960(benchmark::State& state) {
  HeadlessEngine engine(960, 960);
  engine.System_SetState(BoolState::UseSound, false);
  if (!drawFrame(engine)) {
    state.SkipWithError("the headless engine did not start");
    return;
  }
  PictureRequest request;
  engine.Gfx_ReadFrame(request.frame);
  engine.Gfx_EndScene();
  request.json = std::string(200000, ' ');
  request.folder = (std::filesystem::temp_directory_path() / ("driftglow-bench-" + std::to_string(getpid()))).string();
  request.baseName = "picture";
  for (auto _ : state) {
    const PictureOutcome outcome = writePicture(request);
    state.PauseTiming();
    std::filesystem::remove_all(request.folder);
    state.ResumeTiming();
    if (!outcome.saved) state.SkipWithError(outcome.text.c_str());
  }
}
BENCHMARK(BM_WritePicture960)->Unit(benchmark::kMillisecond);

void BM_NewScreenDescription(benchmark::State& state) {
  resetAppStateForTests();
  APP_STATE.scene = std::make_unique<SPIX>();
  APP_STATE.scene->noSpatialIndex = true;
  for (int i = 0; i < 40; ++i) APP_STATE.scene->AddGraphics("g" + std::to_string(i) + ".png", 0, 0, 0, 64, 64, 0, 0, 0);
  resetScreen();
  buildScreenFromSeeds(compositionContext(), 4242, 777, 31337);
  const int32_t seeds[3] = {4242, 777, 31337};
  for (auto _ : state) benchmark::DoNotOptimize(screenJson(APP_STATE.scene.get(), seeds, 960, 960));
  state.counters["figures"] = composition.figures.Count();
  resetAppStateForTests();
}
BENCHMARK(BM_NewScreenDescription)->Unit(benchmark::kMillisecond);

}  // namespace
