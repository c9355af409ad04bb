// Checks that the composition's per-frame step allocates nothing on a full
// screen with turning and scaling on. Counts every operator new in this
// test program.
#include <atomic>
#include <cstdlib>
#include <new>

#include "composition/screen_seeds.h"
#include "tests/composition/composition_fixture.h"

namespace {
std::atomic<long> allocationCount{0};
}  // namespace

// The replacements pair malloc with free; the compiler cannot see that every
// operator new in the program is this one and warns about a mismatch.
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

using AnimationAllocation = CompositionTest;

TEST_F(AnimationAllocation, AFrameOfAFullScreenAllocatesNothing) {
  AddGraphics(8);
  ResetScreen();
  buildScreenFromSeeds(31, 41, 59);
  ASSERT_EQ(composition.figures.Count(), 1600);
  composition.rotationMode = 1;
  composition.scaleMode = 1;
  composition.zoomMode = 2;
  engine_->recordCalls = false;
  engine_->transforms.reserve(64);  // the recording itself must not count
  engine_->keys[kKeyRightButton] = true;
  // The first frames size the scene's query list and run the colour check.
  for (int i = 0; i < 3; ++i) composition.Animate(0.02f, static_cast<float>(i), 0);
  const long before = allocationCount.load();
  for (int i = 0; i < 20; ++i) composition.Animate(0.02f, static_cast<float>(i), 5);
  EXPECT_EQ(allocationCount.load() - before, 0);
  EXPECT_NE(composition.panX, 0);
}

}  // namespace
