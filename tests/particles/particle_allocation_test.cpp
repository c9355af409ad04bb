// Checks that a frame's particle work (manager update and render of a full
// system) allocates nothing.
#include <gtest/gtest.h>

#include <memory>

#include "particles/particle_manager.h"
#include "tests/support/allocation_counter.h"
#include "tests/support/recording_engine.h"

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

  const long before = AllocationCount();
  for (int n = 0; n < 50; ++n) {
    manager.Update(0.02f);
    manager.Render();
  }
  EXPECT_EQ(manager.At(0)->GetParticlesAlive(), ParticleSystem::kMaxParticles);
  EXPECT_EQ(AllocationCount() - before, 0);
}

}  // namespace
