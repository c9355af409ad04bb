// The whole viewer on the headless engine with the real generated content:
// start-up, the first screens, the keys, the wheel, the help overlay, the
// music rotation and the exit, over 150 scripted frames.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/app_reset.h"
#include "app/app_state.h"
#include "app/startup.h"
#include "composition/composition.h"
#include "engine/engine_factory.h"
#include "engine/sdl/headless_engine.h"
#include "scene/scene.h"
#include "tests/support/recording_platform.h"

namespace {

// Pixels of exactly the overlay's light blue inside the rectangle; glyph
// interiors draw it unblended, figures almost never hit it exactly.
int overlayInk(HeadlessEngine& engine, int x0, int y0, int x1, int y1) {
  int count = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) count += (engine.GetPixel(x, y) & 0xFFFFFF) == 0x8080FF;
  return count;
}

struct FrameRecord {
  float clockBefore = 0;
  float clockAfter = 0;
  int figures = 0;
  int32_t autoGenerate = 0;
  int32_t autoCountdown = 0;
  int32_t lastTrack = -1;
  std::string formula0;
  int overlayInk = 0;
};

class ViewerEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAppStateForTests();
    previousDirectory_ = std::filesystem::current_path();
    std::error_code error;
    std::filesystem::current_path(DRIFTGLOW_RUN_DIR, error);
    ASSERT_FALSE(error) << "the generated content folder " << DRIFTGLOW_RUN_DIR
                        << " is missing: build with DRIFTGLOW_BUILD_CONTENT=ON first";
    ASSERT_TRUE(std::filesystem::exists("Graphics.paq"));
    ASSERT_TRUE(std::filesystem::exists("Sound.paq"));
  }
  void TearDown() override {
    hgeUseEngine(nullptr);
    resetAppStateForTests();
    std::filesystem::current_path(previousDirectory_);
  }
  std::filesystem::path previousDirectory_;
};

TEST_F(ViewerEndToEnd, ScriptedSessionFromStartToExit) {
  RecordingPlatform platform;
  platform.desktop = {1920, 1080};
  platform.answer = kIdNo;
  HeadlessEngine engine(960, 960);
  hgeUseEngine(&engine);

  std::vector<FrameRecord> frames;
  // Input by frame: N held 10..20, left button 25..35, U at 45, wheel at 60,
  // long frames 70..129 (20 s each, so that tracks end), X from 150.
  engine.SetBeforeFrame([&](int frame) {
    if (frame > 0) {
      FrameRecord& previous = frames.back();
      previous.clockAfter = APP_STATE.screenClock;
      previous.figures = composition.figures.Count();
      previous.autoGenerate = APP_STATE.autoGenerate;
      previous.autoCountdown = APP_STATE.autoCountdown;
      previous.lastTrack = APP_STATE.lastTrack;
      previous.formula0 = composition.formulas[0];
      previous.overlayInk = overlayInk(engine, 240, 150, 720, 260);
      // The help overlay drawn with the real fonts, kept in the build folder for a look.
      if (frame == 31) engine.SaveFrame(std::string(DRIFTGLOW_TEST_OUTPUT_DIR) + "/viewer_overlay.png");
    }
    FrameRecord record;
    record.clockBefore = APP_STATE.screenClock;
    frames.push_back(record);
    engine.SetKey(kKeyN, frame >= 10 && frame <= 20);
    engine.SetKey(kKeyLeftButton, frame >= 25 && frame <= 35);
    engine.SetKey(kKeyU, frame == 45);
    engine.SetMouseWheel(frame == 60 ? 1 : 0);
    engine.SetFrameDelta(frame >= 70 && frame < 130 ? 20.0f : 0.02f);
    engine.SetKey(kKeyX, frame >= 150);
  });
  engine.SetMaxFrames(400);

  EXPECT_EQ(driftglowMain(platform), 0);
  ASSERT_EQ(platform.messages.size(), 1u);  // only the question: no failure
  EXPECT_EQ(platform.messages[0].text, "Run full screen?");

  // X at frame 150 ends the loop in that frame.
  ASSERT_EQ(engine.FramesRun(), 151);
  ASSERT_EQ(frames.size(), 151u);
  frames.pop_back();  // the last frame has no record of its outcome

  // The first screen exists after the first frame.
  EXPECT_EQ(frames[0].figures, 1600);
  EXPECT_FALSE(frames[0].formula0.empty());

  // N: a new screen at 10 (the clock restarts), then again only when the
  // lock of 5.8333 nominal frames has passed, at 16.
  std::vector<int> nScreens;
  for (int frame = 1; frame <= 24; ++frame)
    if (frames[frame].formula0 != frames[frame - 1].formula0 || frames[frame].clockAfter <= 1.0f)
      nScreens.push_back(frame);
  EXPECT_EQ(nScreens, (std::vector<int>{10, 16}));

  // The left button freezes the countdown and shows the overlay, only then.
  for (int frame = 26; frame <= 35; ++frame) EXPECT_EQ(frames[frame].autoCountdown, frames[25].autoCountdown);
  EXPECT_GT(frames[30].overlayInk, 200);
  EXPECT_LT(frames[22].overlayInk, 20);
  EXPECT_LT(frames[40].overlayInk, 20);

  // U forces a new screen at once; the wheel turns the generator off.
  EXPECT_NE(frames[45].formula0, frames[44].formula0);
  EXPECT_FLOAT_EQ(frames[45].clockAfter, 1.0f);
  EXPECT_EQ(frames[59].autoGenerate, 1);
  EXPECT_EQ(frames[60].autoGenerate, 0);

  // With the generator off no screen changes by itself, long frames or not.
  for (int frame = 61; frame < 150; ++frame) ASSERT_EQ(frames[frame].formula0, frames[60].formula0);

  // Music: several tracks over the long frames, never the same twice in a row.
  std::vector<int32_t> tracks;
  for (const FrameRecord& record : frames)
    if (record.lastTrack >= 0 && (tracks.empty() || record.lastTrack != tracks.back()))
      tracks.push_back(record.lastTrack);
  EXPECT_GE(tracks.size(), 3u);
  int starts = 0;
  for (size_t i = 1; i < frames.size(); ++i) starts += frames[i].lastTrack != frames[i - 1].lastTrack;
  EXPECT_EQ(static_cast<size_t>(starts + 1), tracks.size()) << "a track followed itself";
}

}  // namespace
