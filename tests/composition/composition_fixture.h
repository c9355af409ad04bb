// A fixture for composition tests: a recording engine, APP_STATE with a scene
// of fake graphics (texture 0) and the composition and generators back at
// their initial state before and after each test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/app_reset.h"
#include "composition/app_state.h"
#include "composition/composition.h"
#include "scene/scene.h"
#include "tests/support/recording_engine.h"

class CompositionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAppStateForTests();
    APP_STATE.engine = &*engine_;
    APP_STATE.scene = std::make_unique<SPIX>();
    APP_STATE.scene->noSpatialIndex = true;
  }
  // The scene's sprites release the engine, which is still there.
  void TearDown() override { resetAppStateForTests(); }

  // Registers count 32 × 32 graphics named g0.png, g1.png, ...
  void AddGraphics(int count) {
    for (int i = 0; i < count; ++i) {
      APP_STATE.scene->AddGraphics("g" + std::to_string(i) + ".png", 0, 0, 0, 32, 32, 0, 0, 0);
    }
  }
  // As resetScreen leaves a screen: no scene objects, composition cleared.
  static void ResetScreen() {
    APP_STATE.scene->ClearObjects(false);
    composition.Clear();
  }
  SPIX& Scene() { return *APP_STATE.scene; }

  ScopedRecordingEngine engine_;
};
