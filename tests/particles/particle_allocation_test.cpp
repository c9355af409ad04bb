// Checks that a frame's particle work (manager update and render of a full
// system) allocates nothing. Counts every operator new in this test program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>

#include "particles/particle_manager.h"
#include "tests/support/recording_engine.h"

namespace {
std::atomic<long> allocationCount{0};
}  // namespace

// The replacements below pair malloc with free; the compiler cannot see that
// every operator new in the program is this one and warns about a mismatch.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  allocationCount.fetch_add(1, std::memory_order_relaxed);
  if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

TEST(ParticleAllocation, UpdatingAndDrawingAFullSystemAllocateNothing) {
  ScopedRecordingEngine engine;
  engine->recordQuads = false;
  engine->recordCalls = false;
  hgeSprite sprite(0, 0, 0, 4, 4);
  ParticleSystemInfo info;
  info.sprite = &sprite;
  // 30 a step and a lifetime of 25 steps: once full, every place that frees
  // up is refilled in the same step.
  info.emissionRate = 1500;
  info.systemLifetime = -1;
  info.lifeMin = info.lifeMax = 0.5f;
  info.speedMin = 1, info.speedMax = 3;
  info.spread = 6.28f;
  info.radialMin = -1, info.radialMax = 1;
  info.tangentialMin = -1, info.tangentialMax = 1;
  ParticleManager manager;
  auto system = std::make_unique<ParticleSystem>(info);
  system->TrackBounds(true);
  system->Fire();
  manager.Add("full", std::move(system));
  for (int n = 0; n < 40; ++n) manager.Update(0.02f);
  ASSERT_EQ(manager.At(0)->GetParticlesAlive(), ParticleSystem::kMaxParticles);

  const long before = allocationCount.load();
  for (int n = 0; n < 50; ++n) {
    manager.Update(0.02f);
    manager.Render();
  }
  EXPECT_EQ(manager.At(0)->GetParticlesAlive(), ParticleSystem::kMaxParticles);
  EXPECT_EQ(allocationCount.load() - before, 0);
}

}  // namespace
