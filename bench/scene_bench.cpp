// Speed of the scene's per-screen and per-frame work at the size of one
// screen: 1,600 objects named "titile" at random positions, drawn into the
// recording engine with nothing recorded (CPU work only).
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "scene/scene.h"
#include "tests/support/recording_engine.h"

namespace {

constexpr int kObjects = 1600;

struct Position {
  float x, y;
};

std::vector<Position> randomPositions() {
  std::mt19937 random(20240601);
  std::uniform_real_distribution<float> coordinate(-480.0f, 480.0f);
  std::vector<Position> positions(kObjects);
  for (Position& position : positions) position = {coordinate(random), coordinate(random)};
  return positions;
}

// A scene set up as the application sets it up: no spatial index, a handful
// of graphics with their pivots at the centre, alternating blend modes.
struct BenchScene {
  ScopedRecordingEngine engine;
  SPIX scene;
  std::vector<SPIX_GRAPHICS*> graphics;
  std::vector<Position> positions = randomPositions();

  explicit BenchScene(bool spatialIndex = false) {
    engine->recordQuads = false;
    engine->recordCalls = false;
    scene.noSpatialIndex = !spatialIndex;
    for (int i = 0; i < 12; ++i) {
      SPIX_GRAPHICS* graphic = scene.AddGraphics("pix.png", 0, 0, 0, 64, 64, 0, 0, 0);
      graphic->sprite->SetPivot(32, 32);
      graphic->sprite->SetBlend(i % 2 ? kBlendAlpha : kBlendAdditive);
      graphics.push_back(graphic);
    }
  }

  void Fill() {
    for (int i = 0; i < kObjects; ++i) {
      SPIX_OBJECT* object = scene.AddObject("titile", graphics[i % graphics.size()], positions[i].x, positions[i].y, 0);
      object->rotation = 0.001f * static_cast<float>(i);
      object->scale = 0.5f + 0.001f * static_cast<float>(i);
      object->tinted = true;
      object->tint = 0x80FFFFFFu - static_cast<uint32_t>(i);
    }
    // The sorted lists take in what was staged for them when next read; the
    // objects are only filed once they have.
    benchmark::DoNotOptimize(scene.drawOrder.ItemAt(0));
    benchmark::DoNotOptimize(scene.objectsByX.ItemAt(0));
    benchmark::DoNotOptimize(scene.objectsByLeft.ItemAt(0));
    benchmark::DoNotOptimize(scene.objectsByRight.ItemAt(0));
  }
};

void BM_AddObject1600(benchmark::State& state) {
  BenchScene bench(state.range(0) != 0);
  for (auto _ : state) {
    state.PauseTiming();
    bench.scene.ClearObjects(false);
    state.ResumeTiming();
    bench.Fill();
  }
  state.SetLabel(state.range(0) ? "with spatial index" : "no spatial index (as the application runs)");
}
BENCHMARK(BM_AddObject1600)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_ClearObjects1600(benchmark::State& state) {
  BenchScene bench;
  for (auto _ : state) {
    state.PauseTiming();
    bench.Fill();
    bench.scene.FindObjects("ti", false, nullptr);
    state.ResumeTiming();
    bench.scene.ClearObjects(false);
  }
}
BENCHMARK(BM_ClearObjects1600)->Unit(benchmark::kMicrosecond);

void BM_FindObjectsTi(benchmark::State& state) {
  BenchScene bench;
  bench.Fill();
  for (auto _ : state) benchmark::DoNotOptimize(bench.scene.FindObjects("ti", false, nullptr));
}
BENCHMARK(BM_FindObjectsTi)->Unit(benchmark::kMicrosecond);

void BM_Render1600(benchmark::State& state) {
  BenchScene bench;
  bench.Fill();
  for (auto _ : state) bench.scene.Render(0, 0, 0, 0);
}
BENCHMARK(BM_Render1600)->Unit(benchmark::kMicrosecond);

// What a new screen costs the scene: clearing the old objects and filing new ones.
void BM_NewScreen1600(benchmark::State& state) {
  BenchScene bench;
  bench.Fill();
  for (auto _ : state) {
    bench.scene.ClearObjects(false);
    bench.Fill();
  }
}
BENCHMARK(BM_NewScreen1600)->Unit(benchmark::kMicrosecond);

}  // namespace
