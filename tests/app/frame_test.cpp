// Tests of the frame function against the recording engine: keys and their
// lock, the automatic generator, the music and the screen clock.
#include <gtest/gtest.h>

#include "app/app_reset.h"
#include "app/app_state.h"
#include "app/frame.h"
#include "app/music.h"
#include "core/random_below.h"
#include "core/seeded_random.h"
#include "engine/engine_factory.h"
#include "tests/support/recording_engine.h"

namespace {

class Frame : public ::testing::Test {
 protected:
  void SetUp() override {
    resetAppStateForTests();
    engine_->resources["sound/MoonGarden.mp3"] = "a";
    engine_->resources["sound/Kalliope.mp3"] = "b";
    engine_->resources["sound/Mercury.mp3"] = "c";
    APP_STATE.engine = hgeCreate(kHgeVersion);
    ASSERT_FALSE(loadMusic());
    seedRandomBelow(99);
  }
  void TearDown() override {
    APP_STATE.engine->Release();
    resetAppStateForTests();
  }

  ScopedRecordingEngine engine_;
};

TEST_F(Frame, FirstFrameMakesTheFirstScreenAndStartsMusic) {
  EXPECT_FALSE(frameFunction());
  EXPECT_GE(APP_STATE.autoCountdown, 400);
  EXPECT_LE(APP_STATE.autoCountdown, 1400);
  EXPECT_EQ(APP_STATE.autoCountdown % 50, 0);
  EXPECT_EQ(APP_STATE.autoPeriod, APP_STATE.autoCountdown);
  EXPECT_GE(structureRandom.State(), 1);  // reseeded
  ASSERT_EQ(engine_->played.size(), 1u);
  EXPECT_FLOAT_EQ(APP_STATE.screenClock, 1.0f);

  int countdown = APP_STATE.autoCountdown;
  frameFunction();
  EXPECT_EQ(APP_STATE.autoCountdown, countdown - 1);
  EXPECT_EQ(engine_->played.size(), 1u);  // still playing
}

TEST_F(Frame, MusicNeverRepeatsATrackAndUsesItsVolume) {
  const int volumes[3] = {50, 30, 30};
  int counts[3] = {};
  int last = -1;
  for (int i = 0; i < 300; ++i) {
    for (auto& [channel, playing] : engine_->channelPlaying) playing = false;  // every track ends at once
    keepMusicPlaying();
    ASSERT_EQ(engine_->played.size(), static_cast<size_t>(i + 1));
    int track = static_cast<int>(engine_->played.back().first) - 1;
    ASSERT_NE(track, last);
    if (last == 0) {
      ASSERT_EQ(track, 1);
    }
    EXPECT_EQ(engine_->played.back().second, volumes[track]);
    ++counts[track];
    last = track;
  }
  for (int count : counts) EXPECT_GT(count, 30);
}

TEST_F(Frame, HeldNIsLockedForAboutSixFrames) {
  frameFunction();  // first screen
  engine_->Input().SetHeld(kKeyN, true);
  std::vector<int> newScreenFrames;
  for (int frame = 0; frame < 20; ++frame) {
    float before = APP_STATE.screenClock;
    frameFunction();
    if (APP_STATE.screenClock <= before) newScreenFrames.push_back(frame);
  }
  // The first frame resets the clock; then the clock must exceed 5.8333.
  EXPECT_EQ(newScreenFrames, (std::vector<int>{0, 6, 12, 18}));
}

TEST_F(Frame, HeldUMakesANewScreenEveryFrame) {
  frameFunction();
  engine_->Input().SetHeld(kKeyU, true);
  APP_STATE.autoGenerate = 0;
  for (int frame = 0; frame < 5; ++frame) {
    int32_t seedBefore = structureRandom.State();
    frameFunction();
    EXPECT_EQ(APP_STATE.autoGenerate, 1);
    EXPECT_NE(structureRandom.State(), seedBefore);
    EXPECT_FLOAT_EQ(APP_STATE.screenClock, 1.0f);
  }
}

TEST_F(Frame, XEndsOnlyOnceTheLockHasPassed) {
  engine_->Input().SetHeld(kKeyX, true);
  EXPECT_FALSE(frameFunction());  // the clock is 0, not past the lock
  EXPECT_TRUE(frameFunction());
}

TEST_F(Frame, LeftButtonFreezesTheCountdown) {
  frameFunction();
  int countdown = APP_STATE.autoCountdown;
  engine_->Input().SetHeld(kKeyLeftButton, true);
  for (int i = 0; i < 10; ++i) frameFunction();
  EXPECT_EQ(APP_STATE.autoCountdown, countdown);
}

TEST_F(Frame, SlowFramesCutTheCountdownAfter140Frames) {
  frameFunction();
  APP_STATE.autoCountdown = 1000;
  APP_STATE.autoPeriod = 1000;
  engine_->frameDelta = 0.1f;
  int frames = 0;
  while (APP_STATE.autoCountdown > 10 && frames < 500) {
    frameFunction();
    ++frames;
  }
  EXPECT_EQ(frames, 141);
  EXPECT_EQ(APP_STATE.autoCountdown, 10);
}

}  // namespace
