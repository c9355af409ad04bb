// Tests of ParticleSystem: the order and ranges of the random draws, the
// motion of live particles, emission counts and limits, update intervals,
// drawing, and the system as an effect drawn after a scene object.
#include "particles/particle_system.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>
#include <numbers>
#include <vector>

#include "scene/scene.h"
#include "tests/particles/scripted_random_engine.h"

namespace {

constexpr float kStep = 1.0f / 50;
constexpr float kInfinity = std::numeric_limits<float>::infinity();

// Long-lived particles, emitted from the origin for ever once fired.
ParticleSystemInfo steadyInfo(int rate) {
  ParticleSystemInfo info;
  info.emissionRate = rate;
  info.systemLifetime = -1;
  info.lifeMin = info.lifeMax = 100;
  return info;
}

// No emission; the age counts the time stepped.
ParticleSystemInfo agingInfo() {
  ParticleSystemInfo info;
  info.systemLifetime = 1000;
  return info;
}

TEST(FastReciprocalSqrt, RefinesTheBitEstimateWithPoint4999AndKeepsZeroVectorsAtZero) {
  for (float d : {1e-6f, 0.25f, 1.0f, 3.0f, 12345.0f, 1e10f}) {
    EXPECT_NEAR(FastReciprocalSqrt(d) * std::sqrt(static_cast<double>(d)), 1.0, 0.002) << d;
  }
  // For d = 1 the estimate's bits are 0x5F3759DF - (0x3F800000 >> 1); the
  // textbook half (0.5) would give a visibly different value.
  const float y = std::bit_cast<float>(0x3F7759DFu);
  EXPECT_FLOAT_EQ(FastReciprocalSqrt(1.0f), y * (1.5f - 0.4999f * y * y));
  EXPECT_GT(FastReciprocalSqrt(1.0f) - y * (1.5f - 0.5f * y * y), 5e-5f);
  EXPECT_NEAR(FastNormalise({3, 4}).y, 0.8f, 0.002f);
  EXPECT_EQ(FastNormalise({0, 0}).x, 0.0f);
  EXPECT_EQ(FastNormalise({0, 0}).y, 0.0f);
}

TEST(ParticleEmission, DrawsEachValueFromItsRangeInAFixedOrder) {
  ScriptedRandomEngine engine;
  ParticleSystemInfo info = steadyInfo(50);
  info.lifeMin = 1, info.lifeMax = 3;
  info.direction = 1.0f, info.spread = 0.5f;
  info.speedMin = 2, info.speedMax = 4;
  info.gravityMin = 5, info.gravityMax = 6;
  info.radialMin = 7, info.radialMax = 8;
  info.tangentialMin = 9, info.tangentialMax = 10;
  info.sizeStart = 1, info.sizeEnd = 3, info.sizeVariation = 0.5f;
  info.spinStart = 0.5f, info.spinEnd = 2.5f, info.spinVariation = 0.25f;
  info.colourStart = {0.25f, 0.5f, 0.75f, 1.0f};
  info.colourEnd = {1.0f, 0.0f, 0.5f, 0.0f};
  info.colourVariation = 0.5f, info.alphaVariation = 0.25f;
  ParticleSystem system(info);
  system.MoveTo(10, 20, true);
  system.Fire();
  system.MoveTo(30, 20);
  engine.answers = {2.0f, 0.25f, 1.5f, -0.5f, 0.25f, 3.0f, 5.5f, 7.5f, 9.5f, 1.5f, 0.75f, 0.5f, 0.25f, 0.625f, 0.875f};
  system.Step(kStep);

  // lifetime, along the way moved, jitter x and y, spread, speed, gravity,
  // radial, tangential, size (start towards end by half), spin (by a
  // quarter), red, green, blue (by half), alpha (by a quarter).
  const std::vector<ScriptedRandomEngine::Draw> expected = {
      {1, 3},  {0, 1}, {-2, 2},      {-2, 2},         {0, 0.5f},     {2, 4},          {5, 6},       {7, 8},
      {9, 10}, {1, 2}, {0.5f, 1.0f}, {0.25f, 0.625f}, {0.5f, 0.25f}, {0.75f, 0.625f}, {1.0f, 0.75f}};
  ASSERT_EQ(engine.draws.size(), expected.size());
  for (size_t k = 0; k < expected.size(); ++k) {
    EXPECT_FLOAT_EQ(engine.draws[k].min, expected[k].min) << "draw " << k;
    EXPECT_FLOAT_EQ(engine.draws[k].max, expected[k].max) << "draw " << k;
  }

  ASSERT_EQ(system.GetParticlesAlive(), 1);
  const Particle& p = system.GetParticle(0);
  // The spread draw sits in the middle of the cone: the angle is direction - pi/2.
  EXPECT_NEAR(p.velocity.x, 3 * std::sin(1.0), 1e-5);
  EXPECT_NEAR(p.velocity.y, -3 * std::cos(1.0), 1e-5);
  const std::pair<float, float> fields[] = {
      {p.age, 0},
      {p.lifetime, 2},
      {p.location.x, 10 + 20 * 0.25f + 1.5f},
      {p.location.y, 20 - 0.5f},
      {p.gravity, 5.5f},
      {p.radialAcceleration, 7.5f},
      {p.tangentialAcceleration, 9.5f},
      {p.size, 1.5f},
      {p.sizeDelta, (3 - 1.5f) / 2},
      {p.spin, 0.75f},
      {p.spinDelta, (2.5f - 0.75f) / 2},
      {p.colour.r, 0.5f},
      {p.colour.g, 0.25f},
      {p.colour.b, 0.625f},
      {p.colour.a, 0.875f},
      {p.colourDelta.r, (1 - 0.5f) / 2},
      {p.colourDelta.g, (0 - 0.25f) / 2},
      {p.colourDelta.b, (0.5f - 0.625f) / 2},
      {p.colourDelta.a, (0 - 0.875f) / 2},
      {system.GetPreviousLocation().x, 30},
  };
  for (size_t k = 0; k < std::size(fields); ++k) EXPECT_FLOAT_EQ(fields[k].first, fields[k].second) << "field " << k;
}

TEST(ParticleEmission, RelativeDirectionTurnsWithTheSystemsMovement) {
  // Direction 0 with relative set emits straight back along the way moved;
  // without it, direction 0 is up the screen.
  struct Case {
    float moveX, moveY;
    bool relative;
    float velocityX, velocityY;
  };
  const Case cases[] = {
      {10, 0, true, -2, 0}, {0, 10, true, 0, -2}, {0, -10, true, 0, 2}, {0, 0, true, 2, 0}, {10, 0, false, 0, -2}};
  for (const Case& c : cases) {
    ScriptedRandomEngine engine;
    engine.rule = [](float min, float) { return min; };
    ParticleSystemInfo info = steadyInfo(50);
    info.relative = c.relative;
    info.speedMin = info.speedMax = 2;
    ParticleSystem system(info);
    system.Fire();
    system.MoveTo(c.moveX, c.moveY);
    system.Step(kStep);
    ASSERT_EQ(system.GetParticlesAlive(), 1);
    EXPECT_NEAR(system.GetParticle(0).velocity.x, c.velocityX, 1e-5) << c.moveX << "," << c.moveY;
    EXPECT_NEAR(system.GetParticle(0).velocity.y, c.velocityY, 1e-5) << c.moveX << "," << c.moveY;
  }
}

TEST(ParticleEmission, CountsFollowTheSinglePrecisionResidue) {
  struct Case {
    int rate;
    std::vector<int> perStep;
  };
  const Case cases[] = {
      {50, {1, 1, 1, 1, 1, 1, 1}},
      {30, {0, 1, 0, 1, 0, 1, 1}},  // 0.6 + 0.4 comes to just below 1 in the fifth step
      {0, {0, 0, 0}},
      {-20, {0, 0, 0}},
  };
  for (const Case& c : cases) {
    ScopedRecordingEngine engine;
    ParticleSystem system(steadyInfo(c.rate));
    system.Fire();
    std::vector<int> perStep;
    for (size_t n = 0; n < c.perStep.size(); ++n) {
      const int before = system.GetParticlesAlive();
      system.Step(kStep);
      perStep.push_back(system.GetParticlesAlive() - before);
    }
    EXPECT_EQ(perStep, c.perStep) << "rate " << c.rate;
  }
}

TEST(ParticleEmission, NeverMoreThanFiveHundredAndTheRestIsDropped) {
  ScriptedRandomEngine engine;
  ParticleSystem system(steadyInfo(30000));  // 600 a step
  system.Fire();
  system.Step(kStep);
  EXPECT_EQ(system.GetParticlesAlive(), ParticleSystem::kMaxParticles);
  EXPECT_LT(system.GetEmissionResidue(), 1.0f);
  EXPECT_EQ(engine.draws.size(), 500u * 15);
  system.Step(kStep);
  EXPECT_EQ(system.GetParticlesAlive(), ParticleSystem::kMaxParticles);
  EXPECT_EQ(engine.draws.size(), 500u * 15);

  // An endless step fills the system too, and leaves no residue that would
  // stop it from ever emitting again.
  system.Stop(true);
  system.Fire();
  system.Step(kInfinity);
  EXPECT_EQ(system.GetParticlesAlive(), ParticleSystem::kMaxParticles);
  system.Stop(true);
  system.Fire();
  system.Info().emissionRate = 50;
  system.Step(kStep);
  EXPECT_EQ(system.GetParticlesAlive(), 1);
}

// One particle at (jitterX, jitterY) from a system at the origin, flying
// right at `speed` units per step, lifetime 2; the system is then stopped so
// that later steps only move it.
struct OneParticle {
  ScriptedRandomEngine engine;
  ParticleSystem system{info()};

  static ParticleSystemInfo info() {
    ParticleSystemInfo info = steadyInfo(50);
    info.direction = std::numbers::pi_v<float> / 2;  // with spread 0: angle 0
    info.sizeEnd = 4;
    info.spinEnd = 3;
    info.colourEnd = {0, 1, 1, 1};
    return info;
  }
  OneParticle(float jitterX, float jitterY, float speed, float gravity, float radial, float tangential) {
    engine.answers = {2,          0,          jitterX,    jitterY, 0, speed, gravity, radial,
                      tangential, /*size*/ 2, /*spin*/ 1, 1,       1, 1,     1};
    system.Fire();
    system.Step(kStep);
    system.Stop();
  }
};

TEST(ParticleMotion, AcceleratesRadiallyTangentiallyAndByGravityThenMovesByItsVelocity) {
  OneParticle one(1.2f, 1.6f, 1, 20, 10, 5);
  one.system.Step(kStep);
  ASSERT_EQ(one.system.GetParticlesAlive(), 1);
  const Particle& p = one.system.GetParticle(0);
  // away = (0.6, 0.8), across = (-0.8, 0.6): acceleration (2, 11), then gravity.
  EXPECT_NEAR(p.velocity.x, 1 + 2 * 0.02, 1e-3);
  EXPECT_NEAR(p.velocity.y, 11 * 0.02 + 20 * 0.02, 1e-3);
  // The velocity is added as it is, not scaled by the step.
  EXPECT_NEAR(p.location.x, 1.2 + 1.04, 1e-3);
  EXPECT_NEAR(p.location.y, 1.6 + 0.62, 1e-3);
  EXPECT_FLOAT_EQ(p.spin, 1 + (3 - 1) / 2.0f * kStep);
  EXPECT_FLOAT_EQ(p.size, 2 + (4 - 2) / 2.0f * kStep);
  EXPECT_FLOAT_EQ(p.colour.r, 1 - 0.5f * kStep);
  EXPECT_EQ(one.engine.draws.size(), 15u);  // stopped: nothing more drawn

  OneParticle centred(0, 0, 0, 0, 10, 10);  // no direction away from the centre: no push
  centred.system.Step(kStep);
  EXPECT_EQ(centred.system.GetParticle(0).velocity.x, 0.0f);
  EXPECT_EQ(centred.system.GetParticle(0).velocity.y, 0.0f);
}

TEST(ParticleMotion, AStoppedSystemKeepsMovingItsParticlesUntilTheLastDiesAndTheLastFillsGaps) {
  ScriptedRandomEngine engine;
  ParticleSystemInfo info = steadyInfo(50);
  info.lifeMin = 0.01f, info.lifeMax = 0.2f;
  info.gravityMin = info.gravityMax = 30;
  float nextLifetime = 0.2f;  // the first particle outlives the others
  engine.rule = [&](float min, float max) {
    if (min != 0.01f) return (min + max) / 2;
    const float lifetime = nextLifetime;
    nextLifetime = 0.1f;
    return lifetime;
  };
  ParticleSystem system(info);
  system.Fire();
  for (int n = 0; n < 4; ++n) system.Step(kStep);
  system.Stop();
  const size_t drawsAtStop = engine.draws.size();
  while (system.GetParticlesAlive() > 0) {
    const int before = system.GetParticlesAlive();
    const float firstY = system.GetParticle(0).location.y;
    const float firstLifetime = system.GetParticle(0).lifetime;
    system.Step(kStep);
    ASSERT_LE(system.GetParticlesAlive(), before);
    if (system.GetParticlesAlive() == 0) break;
    // The first particle is never replaced; it keeps falling.
    EXPECT_EQ(system.GetParticle(0).lifetime, firstLifetime);
    EXPECT_GT(system.GetParticle(0).location.y, firstY);
  }
  EXPECT_TRUE(system.IsFinished());
  EXPECT_EQ(engine.draws.size(), drawsAtStop);

  // A dead particle's place goes to the last live one.
  std::vector<float> lifetimes = {1.5f, 3, 4};
  engine.rule = [&](float min, float) {
    if (min != 0.01f) return min;
    const float lifetime = lifetimes.front();
    lifetimes.erase(lifetimes.begin());
    return lifetime;
  };
  system.Info().emissionRate = 3;
  system.Fire();
  system.Step(1.0f);
  system.Stop();
  system.Step(1.6f);
  ASSERT_EQ(system.GetParticlesAlive(), 2);
  EXPECT_EQ(system.GetParticle(0).lifetime, 4.0f);
  EXPECT_EQ(system.GetParticle(1).lifetime, 3.0f);
}

TEST(ParticleMotion, ALifetimeOfZeroGivesFiniteDeltasAndDiesBeforeMoving) {
  ScopedRecordingEngine engine;
  hgeSprite sprite(0, 0, 0, 2, 2);
  ParticleSystemInfo info = steadyInfo(50);
  info.sprite = &sprite;
  info.lifeMin = info.lifeMax = 0;
  info.sizeEnd = info.spinEnd = 5;
  info.colourEnd = {0, 0, 0, 0};
  ParticleSystem system(info);
  system.Fire();
  system.Step(kStep);
  ASSERT_EQ(system.GetParticlesAlive(), 1);
  const Particle& p = system.GetParticle(0);
  for (float delta : {p.sizeDelta, p.spinDelta, p.colourDelta.r, p.colourDelta.g, p.colourDelta.b, p.colourDelta.a}) {
    EXPECT_TRUE(std::isfinite(delta));
  }
  engine->quads.clear();
  system.Render();
  ASSERT_EQ(engine->quads.size(), 1u);
  EXPECT_EQ(engine->quads[0].v[0].colour, 0xFFFFFFFFu);  // its start colour
  system.Stop();
  system.Step(kStep);
  EXPECT_EQ(system.GetParticlesAlive(), 0);
}

TEST(ParticleUpdate, AnIntervalOf5HundredthsStepsEverySecondOrThirdUpdateBy5Hundredths) {
  ScopedRecordingEngine engine;
  ParticleSystem system(agingInfo());
  system.SetUpdateInterval(0.05f);
  system.Fire();
  std::vector<int> stepUpdates;
  for (int n = 1; n <= 60; ++n) {
    const float before = system.GetAge();
    system.Update(kStep);
    if (system.GetAge() == before) continue;
    EXPECT_EQ(system.GetAge(), before + 0.05f) << "update " << n;
    if (!stepUpdates.empty()) {
      EXPECT_TRUE(n - stepUpdates.back() == 2 || n - stepUpdates.back() == 3) << n;
    }
    stepUpdates.push_back(n);
  }
  EXPECT_GE(stepUpdates.size(), 23u);
  EXPECT_LE(stepUpdates.size(), 24u);
}

TEST(ParticleUpdate, ALongFrameGivesOneStepAndABadIntervalMeansEveryUpdate) {
  for (float frame : {1.0f, 1e30f, kInfinity}) {  // the last two must not hang
    ScopedRecordingEngine engine;
    ParticleSystem system(agingInfo());
    system.SetUpdateInterval(0.05f);
    system.Fire();
    system.Update(frame);
    EXPECT_EQ(system.GetAge(), 0.05f) << frame;
    EXPECT_GE(system.GetUpdateResidue(), 0.0f) << frame;
    EXPECT_LT(system.GetUpdateResidue(), 0.05f) << frame;
  }
  for (float interval : {-1.0f, std::numeric_limits<float>::quiet_NaN(), kInfinity}) {
    ScopedRecordingEngine engine;
    ParticleSystem system(agingInfo());
    system.SetUpdateInterval(interval);
    system.Fire();
    system.Update(kStep);
    EXPECT_EQ(system.GetAge(), kStep) << interval;
  }
}

TEST(ParticleRender, DrawsEachParticleInItsColourAndPutsTheSpritesColourBack) {
  ScriptedRandomEngine engine;
  engine.rule = [](float min, float max) { return (min + max) / 2; };
  hgeSprite sprite(0, 0, 0, 4, 4);
  sprite.SetPivot(2, 2);
  sprite.SetVertexColor(0x12345678u, -1);
  ParticleSystemInfo info = steadyInfo(50);
  info.sprite = &sprite;
  info.lifeMin = info.lifeMax = 1;
  info.sizeStart = info.sizeEnd = 2;
  info.spinStart = info.spinEnd = 10;
  info.colourStart = {1, 0.5f, 0.25f, 0.75f};
  info.colourEnd = {0, 0, 0, 0};
  ParticleSystem system(info);
  system.SetOffset(100, 50);
  system.Fire();
  system.Step(kStep);
  system.Step(kStep);
  ASSERT_EQ(system.GetParticlesAlive(), 2);

  engine.quads.clear();
  system.Render();
  ASSERT_EQ(engine.quads.size(), 2u);
  for (int i = 0; i < 2; ++i) {
    const Particle& p = system.GetParticle(i);
    const SpriteQuad& quad = engine.quads[static_cast<size_t>(i)];
    for (const SpriteVertex& corner : quad.v) EXPECT_EQ(corner.colour, p.colour.ToARGB()) << "particle " << i;
    // The pivot is the centre: the corners average to the drawn position.
    EXPECT_NEAR((quad.v[0].x + quad.v[2].x) / 2, p.location.x + 100, 1e-3);
    EXPECT_NEAR((quad.v[0].y + quad.v[2].y) / 2, p.location.y + 50, 1e-3);
    // Top edge: sprite width × size long, turned by spin × age.
    const float edgeX = quad.v[1].x - quad.v[0].x, edgeY = quad.v[1].y - quad.v[0].y;
    EXPECT_NEAR(std::hypot(edgeX, edgeY), 4 * p.size, 1e-3);
    EXPECT_NEAR(std::atan2(edgeY, edgeX), p.spin * p.age, 1e-4);
  }
  EXPECT_NE(engine.quads[0].v[0].colour, engine.quads[1].v[0].colour);
  for (int k = 0; k < 4; ++k) EXPECT_EQ(sprite.GetVertexColor(k), 0x12345678u);
}

TEST(ParticleRender, IsDrawnRightAfterTheSceneObjectCarryingIt) {
  ScopedRecordingEngine engine;
  hgeSprite spark(0, 0, 0, 2, 2);
  ParticleSystemInfo info = steadyInfo(3);
  info.sprite = &spark;
  ParticleSystem system(info);
  system.Fire();
  system.Step(1.0f);
  NameList<ObjectEffect> effects;
  effects.Add("sparks", &system);
  SPIX scene;
  SPIX_OBJECT* object = scene.AddObject("titile", scene.AddGraphics("a.png", 0, 0, 0, 8, 8, 0, 0, 0), 100, 100, 0);
  object->effects = &effects;
  engine->quads.clear();
  scene.Render(0, 0, 0, 0);
  ASSERT_EQ(engine->quads.size(), 4u);
  EXPECT_FLOAT_EQ(engine->quads[0].v[1].x - engine->quads[0].v[0].x, 8);  // the object first
  for (size_t k = 1; k < 4; ++k) EXPECT_FLOAT_EQ(engine->quads[k].v[1].x - engine->quads[k].v[0].x, 2);
  object->effects = nullptr;
}

TEST(ParticleBounds, EncloseTheLiveParticlesExactlyWhenTracked) {
  ScopedRecordingEngine engine;
  ParticleSystemInfo info = steadyInfo(200);
  info.lifeMin = 0.05f, info.lifeMax = 0.5f;
  info.speedMin = 0.5f, info.speedMax = 3;
  info.spread = 6.28f;
  ParticleSystem system(info);
  system.TrackBounds(true);
  system.Fire();
  for (int n = 0; n < 30; ++n) {
    system.MoveTo(static_cast<float>(n), static_cast<float>(n) * 0.5f);
    system.Step(kStep);
    const BoundingRect& bounds = system.GetBounds();
    BoundingRect expected;
    for (int i = 0; i < system.GetParticlesAlive(); ++i) {
      expected.Include(system.GetParticle(i).location.x, system.GetParticle(i).location.y);
    }
    ASSERT_FALSE(bounds.empty);
    EXPECT_TRUE(bounds.x1 == expected.x1 && bounds.y1 == expected.y1 && bounds.x2 == expected.x2 &&
                bounds.y2 == expected.y2);
  }
  system.Stop(true);
  system.Step(kStep);
  EXPECT_TRUE(system.GetBounds().empty);
}

TEST(ParticleSystemEngine, HoldsOneEngineReferenceAndEmitsNothingWithoutAnEngine) {
  {
    ScopedRecordingEngine engine;
    {
      ParticleSystem first(steadyInfo(50)), second(steadyInfo(50));
      EXPECT_EQ(hgeReferenceCount(), 2);
    }
    EXPECT_EQ(hgeReferenceCount(), 0);
  }
  hgeSetFactory(nullptr);
  ParticleSystem orphan(steadyInfo(5000));
  orphan.Fire();
  orphan.Step(kStep);
  EXPECT_EQ(orphan.GetParticlesAlive(), 0);
}

}  // namespace
