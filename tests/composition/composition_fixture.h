// A fixture for composition tests: a recording engine, a scene of fake
// graphics (texture 0) and the context that hands both to the composition,
// with the composition and generators back at their initial state before and
// after each test. No application record is involved.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "composition/composition.h"
#include "composition/composition_context.h"
#include "core/seeded_random.h"
#include "scene/scene.h"
#include "tests/support/recording_engine.h"

class CompositionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetGlobals();
    scene_ = std::make_unique<SPIX>();
    scene_->noSpatialIndex = true;
    context_.engine = &*engine_;
    context_.scene = scene_.get();
  }
  // Figures point at scene objects: they go first, then the scene, whose
  // sprites release the engine, which is still there.
  void TearDown() override {
    ResetGlobals();
    scene_.reset();
  }

  // Registers count 32 × 32 graphics named g0.png, g1.png, ...
  void AddGraphics(int count) {
    for (int i = 0; i < count; ++i) {
      scene_->AddGraphics("g" + std::to_string(i) + ".png", 0, 0, 0, 32, 32, 0, 0, 0);
    }
  }
  // As resetScreen leaves a screen: no scene objects, composition cleared.
  void ResetScreen() {
    scene_->ClearObjects(false);
    composition.Clear(context_);
  }
  SPIX& Scene() { return *scene_; }

  ScopedRecordingEngine engine_;
  std::unique_ptr<SPIX> scene_;
  CompositionContext context_;

 private:
  static void ResetGlobals() {
    resetCompositionForTests();
    structureRandom.Reset();
    colourRandom.Reset();
    paramRandom.Reset();
  }
};
