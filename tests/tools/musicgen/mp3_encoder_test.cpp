// MP3 encoding: a valid MPEG-1 Layer III stream at the chosen constant bit
// rate, with an Info tag, as long as the input, and the same bytes each time.
#include "tools/musicgen/mp3_encoder.h"

#include <gtest/gtest.h>

#include <cmath>

#include "tests/tools/mp3_frames.h"

namespace {

musicgen::StereoPcm Tone(double seconds) {
  musicgen::StereoPcm pcm;
  const auto frames = static_cast<size_t>(seconds * 44100);
  for (size_t i = 0; i < frames; ++i) {
    pcm.left.push_back(static_cast<float>(0.5 * std::sin(2.0 * 3.14159265 * 440.0 * i / 44100.0)));
    pcm.right.push_back(static_cast<float>(0.4 * std::sin(2.0 * 3.14159265 * 660.0 * i / 44100.0)));
  }
  return pcm;
}

TEST(Mp3Encoder, WritesConstantBitRateStereoWithInfoTag) {
  const musicgen::StereoPcm pcm = Tone(3.0);
  std::vector<uint8_t> mp3;
  std::string error;
  ASSERT_TRUE(musicgen::EncodeMp3(pcm, mp3, error)) << error;
  testing_mp3::Mp3Summary summary;
  ASSERT_TRUE(testing_mp3::ScanMp3(mp3, summary)) << "a clean frame sequence from the first byte to the last";
  EXPECT_EQ(summary.sampleRate, 44100);
  EXPECT_EQ(summary.firstBitrateKbps, musicgen::kMp3KilobitsPerSecond);
  EXPECT_GE(musicgen::kMp3KilobitsPerSecond, 128);
  EXPECT_LE(musicgen::kMp3KilobitsPerSecond, 192);
  EXPECT_TRUE(summary.constantBitrate);
  EXPECT_TRUE(summary.hasInfoTag);
  EXPECT_TRUE(summary.stereo);
  // The encoder adds under two frames of delay and padding.
  EXPECT_GE(summary.Seconds(), 3.0);
  EXPECT_LT(summary.Seconds(), 3.0 + 3 * 1152.0 / 44100.0);

  std::vector<uint8_t> again;
  ASSERT_TRUE(musicgen::EncodeMp3(pcm, again, error));
  EXPECT_EQ(again, mp3);
}

TEST(Mp3Encoder, RefusesChannelsOfDifferentLengths) {
  musicgen::StereoPcm pcm = Tone(0.5);
  pcm.right.pop_back();
  std::vector<uint8_t> mp3;
  std::string error;
  EXPECT_FALSE(musicgen::EncodeMp3(pcm, mp3, error));
  EXPECT_FALSE(error.empty());
}

}  // namespace
