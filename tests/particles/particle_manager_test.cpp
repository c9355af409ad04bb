// Tests of ParticleManager: the removal pass, the fixed step, name order,
// ownership, and that an empty manager does nothing at all.
#include "particles/particle_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/particles/scripted_random_engine.h"

namespace {

// Systems whose particles are drawn `marker` units right of where they are.
struct MarkedSystems {
  hgeSprite sprite{0, 0, 0, 2, 2};
  ParticleSystemInfo info;
  MarkedSystems() {
    info.sprite = &sprite;
    info.emissionRate = 50;
    info.systemLifetime = -1;
    info.lifeMin = info.lifeMax = 0.1f;
  }
  std::unique_ptr<ParticleSystem> Make(bool fire, float marker = 0) const {
    auto system = std::make_unique<ParticleSystem>(info);
    system->SetOffset(marker, 0);
    if (fire) system->Fire();
    return system;
  }
};

std::vector<std::string> names(const ParticleManager& manager) {
  std::vector<std::string> result;
  for (int i = 0; i < manager.Count(); ++i) result.emplace_back(manager.NameAt(i));
  return result;
}

TEST(ParticleManager, WhenEmptyUpdateAndRenderDoNothing) {
  ScriptedRandomEngine engine;
  ParticleManager manager;
  for (int n = 0; n < 10; ++n) {
    manager.Update(0.02f);
    manager.Render();
  }
  EXPECT_TRUE(engine.draws.empty());
  EXPECT_TRUE(engine.quads.empty());
}

TEST(ParticleManager, DropsFinishedSystemsAndStillUpdatesTheOnesAfterThemInTheSamePass) {
  ScriptedRandomEngine engine;
  MarkedSystems kind;
  ParticleManager manager;
  manager.Add("a", kind.Make(false));  // never fired: finished
  manager.Add("b", kind.Make(false));
  manager.Add("c", kind.Make(true));
  manager.Add("d", kind.Make(false));
  manager.Add("e", kind.Make(true));
  ParticleSystem* c = manager.Find("c");
  ParticleSystem* e = manager.Find("e");
  manager.Update(0.02f);
  EXPECT_EQ(names(manager), (std::vector<std::string>{"c", "e"}));
  EXPECT_EQ(c->GetParticlesAlive(), 1);
  EXPECT_EQ(e->GetParticlesAlive(), 1);
  EXPECT_EQ(hgeReferenceCount(), 1 + 2);  // the sprite and the two systems left

  // A stopped system is still stepped while it has live particles.
  c->Stop();
  int updates = 0;
  while (c->GetParticlesAlive() > 0 && updates < 20) {
    const float age = c->GetParticle(0).age;
    manager.Update(0.02f);
    ++updates;
    ASSERT_EQ(manager.Count(), 2);
    if (c->GetParticlesAlive() > 0) {
      EXPECT_GT(c->GetParticle(0).age, age);
    }
  }
  EXPECT_LE(updates, 6);
  manager.Update(0.02f);
  EXPECT_EQ(names(manager), std::vector<std::string>{"e"});
}

TEST(ParticleManager, StepsByItsOwnFixedTimeWhateverTheFrameTime) {
  ScopedRecordingEngine engine;
  ParticleSystemInfo info;
  info.systemLifetime = 1000;
  struct Case {
    float step, frameTime;
  };
  for (const Case& c : {Case{ParticleManager::kDefaultStepSeconds, 0.5f}, Case{0.05f, 0.0f}}) {
    ParticleManager manager(c.step);
    auto system = std::make_unique<ParticleSystem>(info);
    system->Fire();
    manager.Add("x", std::move(system));
    manager.Update(c.frameTime);
    EXPECT_EQ(manager.At(0)->GetAge(), c.step);
  }
  EXPECT_EQ(ParticleManager::kDefaultStepSeconds, 1.0f / 50);
}

TEST(ParticleManager, KeepsSystemsInNameOrderAndDrawsThemInThatOrder) {
  ScopedRecordingEngine engine;
  MarkedSystems kind;
  ParticleManager manager;
  manager.Add("b", kind.Make(true, 200));
  manager.Add("a", kind.Make(true, 100));
  manager.Add("B", kind.Make(true, 300));
  EXPECT_EQ(manager.Add("null", nullptr), -1);
  EXPECT_EQ(names(manager), (std::vector<std::string>{"B", "a", "b"}));
  manager.Update(0.02f);
  engine->quads.clear();
  manager.Render();
  ASSERT_EQ(engine->quads.size(), 3u);
  const float markers[] = {300, 100, 200};
  for (int k = 0; k < 3; ++k) {
    EXPECT_NEAR(engine->quads[k].v[0].x - manager.At(k)->GetParticle(0).location.x, markers[k], 1e-3);
  }
}

TEST(ParticleManager, DeleteAtAndClearDestroySystemsAndReleaseTheirEngineReferences) {
  ScopedRecordingEngine engine;
  ParticleSystemInfo info;
  {
    ParticleManager manager;
    for (const char* name : {"a", "b", "c"}) manager.Add(name, std::make_unique<ParticleSystem>(info));
    manager.DeleteAt(-1);
    manager.DeleteAt(3);
    EXPECT_EQ(hgeReferenceCount(), 3);
    manager.DeleteAt(1);
    EXPECT_EQ(names(manager), (std::vector<std::string>{"a", "c"}));
    EXPECT_EQ(hgeReferenceCount(), 2);
    manager.Clear();
    EXPECT_EQ(manager.Count(), 0);
    EXPECT_EQ(hgeReferenceCount(), 0);
    manager.Add("d", std::make_unique<ParticleSystem>(info));
  }
  EXPECT_EQ(hgeReferenceCount(), 0);  // the manager's destructor empties it
}

}  // namespace
