// Particle benchmarks: one frame's update and render of a full 500-particle
// system through the manager, and of an empty manager (the normal case).
// Recording engine with recording switched off: CPU work only.
#include <benchmark/benchmark.h>

#include <memory>

#include "particles/particle_manager.h"
#include "tests/support/recording_engine.h"

namespace {

void BM_FullSystemUpdateAndRender(benchmark::State& state) {
  ScopedRecordingEngine engine;
  engine->recordQuads = false;
  engine->recordCalls = false;
  hgeSprite sprite(0, 0, 0, 16, 16);
  sprite.SetPivot(8, 8);
  ParticleSystemInfo info;
  info.sprite = &sprite;
  // 30 a step against a lifetime of 25 steps keeps all 500 places filled.
  info.emissionRate = 1500;
  info.systemLifetime = -1;
  info.lifeMin = info.lifeMax = 0.5f;
  info.spread = 6.28f;
  info.speedMin = 1, info.speedMax = 3;
  info.gravityMin = -2, info.gravityMax = 2;
  info.radialMin = -5, info.radialMax = 5;
  info.tangentialMin = -5, info.tangentialMax = 5;
  info.sizeStart = 1, info.sizeEnd = 0.2f, info.sizeVariation = 0.5f;
  info.spinStart = 0, info.spinEnd = 4, info.spinVariation = 0.5f;
  info.colourStart = {1, 0.8f, 0.3f, 1};
  info.colourEnd = {0.5f, 0, 0, 0};
  info.colourVariation = 0.3f, info.alphaVariation = 0.2f;
  ParticleManager manager;
  auto system = std::make_unique<ParticleSystem>(info);
  system->MoveTo(480, 480, true);
  system->Fire();
  ParticleSystem* running = system.get();
  manager.Add("full", std::move(system));
  for (int n = 0; n < 40; ++n) manager.Update(0.02f);
  if (running->GetParticlesAlive() != ParticleSystem::kMaxParticles) state.SkipWithError("system not full");
  for (auto _ : state) {
    manager.Update(0.02f);
    manager.Render();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * ParticleSystem::kMaxParticles);
}
BENCHMARK(BM_FullSystemUpdateAndRender);

void BM_EmptyManagerUpdateAndRender(benchmark::State& state) {
  ScopedRecordingEngine engine;
  ParticleManager manager;
  for (auto _ : state) {
    manager.Update(0.02f);
    manager.Render();
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_EmptyManagerUpdateAndRender);

}  // namespace
