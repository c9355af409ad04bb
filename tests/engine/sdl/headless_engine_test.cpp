// The headless engine's scripted frame loop, time and input, and its frame
// saved as PNG.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/sdl/headless_engine.h"
#include "tests/engine/sdl/test_files.h"

namespace {

// The callbacks are plain function pointers; they report here.
struct LoopRecord {
  HeadlessEngine* engine = nullptr;
  std::vector<std::string> events;
  std::vector<float> deltas;
  std::vector<int> wheels;
  std::vector<bool> shiftHeld;
  std::vector<float> mouseX;
  int stopAtFrame = -1;
  int frames = 0;
};
LoopRecord* record = nullptr;

bool frameFunction() {
  record->events.push_back("frame");
  record->deltas.push_back(record->engine->Timer_GetDelta());
  record->wheels.push_back(record->engine->Input_GetMouseWheel());
  record->shiftHeld.push_back(record->engine->Input_GetKeyState(kKeyShift));
  float x = 0, y = 0;
  record->engine->Input_GetMousePos(&x, &y);
  record->mouseX.push_back(x);
  return record->frames++ == record->stopAtFrame;
}

bool renderFunction() {
  record->events.push_back("render");
  return false;
}

class HeadlessLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    engine_.System_SetState(BoolState::UseSound, false);
    record_.engine = &engine_;
    record = &record_;
  }
  void TearDown() override { record = nullptr; }
  HeadlessEngine engine_{32, 32};
  LoopRecord record_;
};

TEST_F(HeadlessLoop, RefusesToStartUninitiatedOrWithoutFrameFunction) {
  engine_.System_SetState(FuncState::FrameFunc, frameFunction);
  EXPECT_FALSE(engine_.System_Start());
  EXPECT_STRNE(engine_.System_GetErrorMessage(), "");
  ASSERT_TRUE(engine_.System_Initiate());
  engine_.System_SetState(FuncState::FrameFunc, nullptr);
  EXPECT_FALSE(engine_.System_Start());
  EXPECT_EQ(record_.frames, 0);
}

TEST_F(HeadlessLoop, FrameThenRenderUntilTheFrameFunctionAsksToStop) {
  ASSERT_TRUE(engine_.System_Initiate());
  engine_.System_SetState(FuncState::FrameFunc, frameFunction);
  engine_.System_SetState(FuncState::RenderFunc, renderFunction);
  std::vector<int> before;
  engine_.SetBeforeFrame([&](int frame) {
    before.push_back(frame);
    record_.events.push_back("before");
  });
  record_.stopAtFrame = 3;
  EXPECT_TRUE(engine_.System_Start());
  EXPECT_EQ(engine_.FramesRun(), 4);
  EXPECT_EQ(before, (std::vector<int>{0, 1, 2, 3}));
  std::vector<std::string> oneFrame = {"before", "frame", "render"};
  std::vector<std::string> want;
  for (int i = 0; i < 4; ++i) want.insert(want.end(), oneFrame.begin(), oneFrame.end());
  EXPECT_EQ(record_.events, want);
}

TEST_F(HeadlessLoop, StopsAtTheFrameLimit) {
  ASSERT_TRUE(engine_.System_Initiate());
  engine_.System_SetState(FuncState::FrameFunc, frameFunction);
  engine_.SetMaxFrames(7);
  EXPECT_TRUE(engine_.System_Start());
  EXPECT_EQ(record_.frames, 7);
}

TEST_F(HeadlessLoop, ScriptedTimeAndInputReachTheFrameFunction) {
  ASSERT_TRUE(engine_.System_Initiate());
  engine_.System_SetState(FuncState::FrameFunc, frameFunction);
  engine_.SetFrameDelta(0.05f);
  engine_.SetMouseWheel(2);  // before the loop: reported in frame 0 only
  engine_.SetBeforeFrame([&](int frame) {
    if (frame == 2) engine_.SetKey(kKeyShift, true);
    if (frame == 3) engine_.SetMouseWheel(-1);
    if (frame == 4) engine_.SetKey(kKeyShift, false);
    engine_.SetMousePos(10.0f * frame, 5);
  });
  engine_.SetMaxFrames(6);
  engine_.System_Start();
  EXPECT_EQ(record_.deltas, std::vector<float>(6, 0.05f));
  EXPECT_EQ(record_.wheels, (std::vector<int>{2, 0, 0, -1, 0, 0}));
  EXPECT_EQ(record_.shiftHeld, (std::vector<bool>{false, false, true, true, false, false}));
  EXPECT_EQ(record_.mouseX, (std::vector<float>{0, 10, 20, 30, 40, 50}));
  EXPECT_EQ(engine_.Input_GetMouseWheel(), 0);
}

TEST_F(HeadlessLoop, AKeyPressedAndReleasedBetweenFramesIsHeldForOneFrame) {
  ASSERT_TRUE(engine_.System_Initiate());
  engine_.System_SetState(FuncState::FrameFunc, frameFunction);
  engine_.SetBeforeFrame([&](int frame) {
    if (frame == 1 || frame == 3) engine_.SetKey(kKeyShift, true);
    if (frame == 1 || frame == 4) engine_.SetKey(kKeyShift, false);
  });
  engine_.SetMaxFrames(6);
  engine_.System_Start();
  EXPECT_EQ(record_.shiftHeld, (std::vector<bool>{false, true, false, true, false, false}));
}

TEST(HeadlessFrame, SavedFrameLoadsBackAsTheSamePicture) {
  TempFolder folder;
  const std::string path = (folder.path() / "frame.png").string();
  HeadlessEngine first(20, 12);
  first.System_SetState(BoolState::UseSound, false);
  ASSERT_TRUE(first.System_Initiate());
  first.Gfx_Clear(0xFF102030);
  SpriteQuad quad{};
  const float corners[4][2] = {{3, 2}, {15, 4}, {13, 10}, {2, 9}};
  const uint32_t colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00};
  for (int i = 0; i < 4; ++i) quad.v[i] = {corners[i][0], corners[i][1], 0.5f, colours[i], 0, 0};
  quad.blend = kBlendAlpha;
  first.Gfx_RenderQuad(&quad);
  ASSERT_TRUE(first.SaveFrame(path));
  EXPECT_FALSE(first.SaveFrame((folder.path() / "missing" / "frame.png").string()));

  HeadlessEngine second(20, 12);
  second.System_SetState(BoolState::UseSound, false);
  ASSERT_TRUE(second.System_Initiate());
  HTEXTURE texture = second.Texture_Load(path.c_str());
  ASSERT_NE(texture, 0u) << second.System_GetErrorMessage();
  ASSERT_EQ(second.Texture_GetWidth(texture, true), 20);
  ASSERT_EQ(second.Texture_GetHeight(texture, true), 12);
  const float u = 20.0f / second.Texture_GetWidth(texture), v = 12.0f / second.Texture_GetHeight(texture);
  SpriteQuad copy{};
  copy.v[0] = {0, 0, 0.5f, 0xFFFFFFFF, 0, 0};
  copy.v[1] = {20, 0, 0.5f, 0xFFFFFFFF, u, 0};
  copy.v[2] = {20, 12, 0.5f, 0xFFFFFFFF, u, v};
  copy.v[3] = {0, 12, 0.5f, 0xFFFFFFFF, 0, v};
  copy.texture = texture;
  copy.blend = kBlendAlpha;
  second.Gfx_RenderQuad(&copy);
  int differing = 0;
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 20; ++x) differing += first.GetPixel(x, y) != second.GetPixel(x, y);
  EXPECT_EQ(differing, 0);
  EXPECT_NE(first.GetPixel(8, 6), 0xFF102030u) << "the quad is in the picture";
}

}  // namespace
