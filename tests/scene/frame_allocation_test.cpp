// Checks that a frame's work on the scene (finding the figures, moving them,
// drawing) allocates nothing once the scene has been filled.
#include <gtest/gtest.h>

#include "scene/scene.h"
#include "tests/support/allocation_counter.h"
#include "tests/support/recording_engine.h"

namespace {

TEST(FrameAllocation, FindingMovingAndDrawingAllocateNothing) {
  ScopedRecordingEngine engine;
  engine->recordQuads = false;
  engine->recordCalls = false;
  SPIX scene;
  scene.noSpatialIndex = true;
  SPIX_GRAPHICS* graphics[2] = {scene.AddGraphics("a.png", 0, 0, 0, 64, 64, 0, 0, 0),
                                scene.AddGraphics("b.png", 0, 0, 0, 32, 32, 128, 32, 0)};
  for (int i = 0; i < 1600; ++i) {
    SPIX_OBJECT* object = scene.AddObject("titile", graphics[i % 2], static_cast<float>(i % 40) * 24.0f,
                                          static_cast<float>(i / 40) * 24.0f, 0);
    object->tinted = true;
    object->frameDelay = 3;
    object->animFlags = SPIX_ANIM_LOOP;
  }
  auto frame = [&] {
    const int found = scene.FindObjects("ti", false, nullptr);
    for (int i = 0; i < found; ++i) {
      SPIX_OBJECT* object = scene.FoundObject(i);
      object->SetX(object->x + 0.5f);
      object->rotation += 0.01f;
      object->scale *= 1.001f;
    }
    scene.Render(0, 0, 0, 0);
  };
  // The first two frames size the result list and its store of spare chunks.
  frame();
  frame();
  const long before = AllocationCount();
  for (int n = 0; n < 20; ++n) frame();
  EXPECT_EQ(AllocationCount() - before, 0);
  EXPECT_EQ(scene.queryResults.Count(), 1600);
}

TEST(FrameAllocation, ANewScreenReusesTheListsStorage) {
  ScopedRecordingEngine engine;
  SPIX scene;
  scene.noSpatialIndex = true;
  SPIX_GRAPHICS* graphic = scene.AddGraphics("a.png", 0, 0, 0, 64, 64, 0, 0, 0);
  auto screen = [&] {
    scene.ClearObjects(false);
    for (int i = 0; i < 1600; ++i)
      scene.AddObject("titile", graphic, static_cast<float>(i), static_cast<float>(i % 97), 0);
  };
  // The first clear sizes each list's store of spare chunks.
  screen();
  screen();
  const long before = AllocationCount();
  screen();
  // One allocation per object for the object itself; the lists allocate nothing more.
  EXPECT_LE(AllocationCount() - before, 1600);
}

}  // namespace
