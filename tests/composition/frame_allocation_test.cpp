// Checks that the composition's per-frame step allocates nothing on a full
// screen with turning and scaling on.
#include "composition/frame_input.h"
#include "composition/screen_seeds.h"
#include "tests/composition/composition_fixture.h"
#include "tests/support/allocation_counter.h"

namespace {

using AnimationAllocation = CompositionTest;

TEST_F(AnimationAllocation, AFrameOfAFullScreenAllocatesNothing) {
  AddGraphics(8);
  ResetScreen();
  buildScreenFromSeeds(context_, 31, 41, 59);
  ASSERT_EQ(composition.figures.Count(), 1600);
  composition.rotationMode = 1;
  composition.scaleMode = 1;
  composition.zoomMode = 2;
  engine_->recordCalls = false;
  engine_->transforms.reserve(64);  // the recording itself must not count
  engine_->Input().SetHeld(kKeyRightButton, true);
  // The first frames size the scene's query list and run the colour check.
  FrameInput input = readFrameInput(*engine_, 1);
  for (int i = 0; i < 3; ++i) {
    input.mouseX = static_cast<float>(i);
    composition.Animate(0.02f, input, context_);
  }
  const long before = AllocationCount();
  input.mouseY = 5;
  for (int i = 0; i < 20; ++i) {
    input.mouseX = static_cast<float>(i);
    composition.Animate(0.02f, input, context_);
  }
  EXPECT_EQ(AllocationCount() - before, 0);
  EXPECT_NE(composition.panX, 0);
}

}  // namespace
