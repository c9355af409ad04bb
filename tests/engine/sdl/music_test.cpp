// Music on the headless engine end to end: tone tracks encoded with LAME,
// stored in a pack, loaded, played and ended in scripted time.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "engine/sdl/headless_engine.h"
#include "tests/engine/sdl/test_files.h"
#include "tools/tonepack/tone_track.h"

namespace {

struct PlayRecord {
  HeadlessEngine* engine = nullptr;
  HCHANNEL channel = 0;
  int lastPlayingFrame = -1;
  int frame = 0;
};
PlayRecord* record = nullptr;

bool watchChannel() {
  if (record->engine->Channel_IsPlaying(record->channel)) record->lastPlayingFrame = record->frame;
  ++record->frame;
  return false;
}

class HeadlessMusic : public ::testing::Test {
 protected:
  void SetUp() override {
    ToneSettings shortTone;
    shortTone.seconds = 0.3;
    ToneSettings longerTone;
    longerTone.seconds = 1.0;
    longerTone.frequencyHz = 660;
    shortMp3_ = EncodeToneMp3(shortTone);
    ASSERT_FALSE(shortMp3_.empty());
    folder_.Write("Sound.paq",
                  BuildStoredZip({{"sound/short.mp3", shortMp3_}, {"sound/long.mp3", EncodeToneMp3(longerTone)}}));
    ASSERT_TRUE(engine_.System_Initiate()) << engine_.System_GetErrorMessage();
    ASSERT_TRUE(engine_.Resource_AttachPack("Sound.paq"));
    record_.engine = &engine_;
    record = &record_;
  }
  void TearDown() override { record = nullptr; }

  // Frames of 0.02 s during which the channel reported playing.
  int framesPlaying(HCHANNEL channel, int maxFrames) {
    record_ = {&engine_, channel, -1, 0};
    engine_.System_SetState(FuncState::FrameFunc, watchChannel);
    engine_.SetMaxFrames(maxFrames);
    engine_.System_Start();
    return record_.lastPlayingFrame + 1;
  }

  TempFolder folder_;
  ScopedWorkingFolder cwd_{folder_.path()};
  HeadlessEngine engine_{8, 8};
  PlayRecord record_;
  std::vector<uint8_t> shortMp3_;
};

TEST_F(HeadlessMusic, ShortTrackPlaysForItsDurationThenEnds) {
  HEFFECT effect = engine_.Effect_Load("sound\\short.mp3");
  ASSERT_NE(effect, 0u);
  HCHANNEL channel = engine_.Effect_PlayEx(effect, 50, 0, 1.0f, false);
  ASSERT_NE(channel, 0u);
  EXPECT_TRUE(engine_.Channel_IsPlaying(channel));
  // 0.3 s of tone plus the encoder's padding (under 0.1 s): 15 to 20 frames.
  int frames = framesPlaying(channel, 100);
  EXPECT_GE(frames, 15);
  EXPECT_LE(frames, 20);
  EXPECT_FALSE(engine_.Channel_IsPlaying(channel));
}

TEST_F(HeadlessMusic, LongerTrackPlaysLongerAndLoopingNeverEnds) {
  HEFFECT shortEffect = engine_.Effect_Load("sound\\short.mp3");
  HEFFECT longEffect = engine_.Effect_Load("sound\\long.mp3");
  ASSERT_NE(shortEffect, 0u);
  ASSERT_NE(longEffect, 0u);
  EXPECT_NE(shortEffect, longEffect);
  int frames = framesPlaying(engine_.Effect_PlayEx(longEffect, 30), 200);
  EXPECT_GE(frames, 50);
  EXPECT_LE(frames, 55);
  HCHANNEL looping = engine_.Effect_PlayEx(shortEffect, 100, 0, 1.0f, true);
  EXPECT_EQ(framesPlaying(looping, 100), 100);
}

TEST_F(HeadlessMusic, OneTrackAtATime) {
  HEFFECT effect = engine_.Effect_Load("sound\\long.mp3");
  ASSERT_NE(effect, 0u);
  HCHANNEL first = engine_.Effect_PlayEx(effect, 100, -100);
  HCHANNEL second = engine_.Effect_PlayEx(effect, 0, 100);
  EXPECT_NE(first, 0u);
  EXPECT_NE(second, 0u);
  EXPECT_NE(first, second);
  EXPECT_FALSE(engine_.Channel_IsPlaying(first));
  EXPECT_TRUE(engine_.Channel_IsPlaying(second));
  EXPECT_FALSE(engine_.Channel_IsPlaying(0));
  EXPECT_FALSE(engine_.Channel_IsPlaying(second + 1));
  EXPECT_EQ(engine_.Effect_PlayEx(0), 0u);
  EXPECT_EQ(engine_.Effect_PlayEx(effect + 10), 0u);
}

TEST_F(HeadlessMusic, TracksLoadFromMemoryToo) {
  HEFFECT effect =
      engine_.Effect_Load(reinterpret_cast<const char*>(shortMp3_.data()), static_cast<uint32_t>(shortMp3_.size()));
  EXPECT_NE(effect, 0u);
}

TEST_F(HeadlessMusic, GarbageMissingAndImageBytesGiveNoEffect) {
  std::mt19937 random(1234);
  std::vector<uint8_t> noise(4096);
  for (uint8_t& byte : noise) byte = static_cast<uint8_t>(random());
  std::string text(5000, 'x');
  std::vector<uint8_t> png = EncodePng({2, 2, {0xFFFFFFFF, 0, 0, 0xFFFFFFFF}});
  std::vector<uint8_t> one = {0xFF};
  for (const std::vector<uint8_t>* bytes : {&noise, &png, &one})
    EXPECT_EQ(engine_.Effect_Load(reinterpret_cast<const char*>(bytes->data()), static_cast<uint32_t>(bytes->size())),
              0u);
  EXPECT_EQ(engine_.Effect_Load(text.c_str(), static_cast<uint32_t>(text.size())), 0u);
  EXPECT_EQ(engine_.Effect_Load("sound\\missing.mp3"), 0u);
  EXPECT_EQ(engine_.Effect_Load(nullptr), 0u);
  EXPECT_NE(engine_.Effect_Load("sound\\short.mp3"), 0u) << "good tracks still load";
}

TEST(HeadlessMusicOff, SoundStateOffLoadsNoTracks) {
  ToneSettings tone;
  tone.seconds = 0.2;
  std::vector<uint8_t> mp3 = EncodeToneMp3(tone);
  HeadlessEngine engine(8, 8);
  engine.System_SetState(BoolState::UseSound, false);
  ASSERT_TRUE(engine.System_Initiate());
  EXPECT_EQ(engine.Effect_Load(reinterpret_cast<const char*>(mp3.data()), static_cast<uint32_t>(mp3.size())), 0u);
}

}  // namespace
