// Checks that a frame's work on the scene (finding the figures, moving them,
// drawing) allocates nothing once the scene has been filled. Counts every
// operator new in this test program.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "scene/scene.h"
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
  const long before = allocationCount.load();
  for (int n = 0; n < 20; ++n) frame();
  EXPECT_EQ(allocationCount.load() - before, 0);
  EXPECT_EQ(scene.queryResults.Count(), 1600);
}

TEST(FrameAllocation, ANewScreenReusesTheListsStorage) {
  ScopedRecordingEngine engine;
  SPIX scene;
  scene.noSpatialIndex = true;
  SPIX_GRAPHICS* graphic = scene.AddGraphics("a.png", 0, 0, 0, 64, 64, 0, 0, 0);
  auto screen = [&] {
    scene.ClearObjects(false);
    for (int i = 0; i < 1600; ++i) scene.AddObject("titile", graphic, static_cast<float>(i), static_cast<float>(i % 97), 0);
  };
  // The first clear sizes each list's store of spare chunks.
  screen();
  screen();
  const long before = allocationCount.load();
  screen();
  // One allocation per object for the object itself; the lists allocate nothing more.
  EXPECT_LE(allocationCount.load() - before, 1600);
}

}  // namespace
