// Sound for videos: an MP3 decoded from memory, cut at the clip's length
// with a fade-out, ending early with a shorter track, refusing non-audio.
#include "tools/video/track_audio.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tools/tonepack/tone_track.h"

namespace {

constexpr int kRate = 48000;

// Every sample the track gives, read in blocks of an awkward size.
std::vector<float> ReadAll(TrackAudio& audio) {
  std::vector<float> samples;
  float block[2 * 700];
  std::string error;
  for (int got; (got = audio.Read(block, 700, error)) > 0;) samples.insert(samples.end(), block, block + 2 * got);
  EXPECT_EQ(error, "");
  return samples;
}

// Root mean square of the left channel from sample first, count samples.
double Level(const std::vector<float>& stereo, size_t first, size_t count) {
  double sum = 0;
  for (size_t i = first; i < first + count; ++i) sum += stereo[2 * i] * stereo[2 * i];
  return std::sqrt(sum / count);
}

TEST(TrackAudio, CutsAtTheClipsLengthAndFadesOutToSilence) {
  const std::vector<uint8_t> mp3 = EncodeToneMp3({440.0, 2.0, 0.5, 44100, 128});
  TrackAudio audio;
  std::string error;
  // One second of a two-second tone, fading over its last quarter.
  ASSERT_TRUE(audio.Open(mp3.data(), mp3.size(), kRate, kRate, kRate / 4, error)) << error;
  const std::vector<float> samples = ReadAll(audio);
  ASSERT_EQ(samples.size(), 2u * kRate);

  const double full = Level(samples, kRate / 4, kRate / 4);
  EXPECT_GT(full, 0.2);
  for (size_t i = 0; i < samples.size(); i += 2) ASSERT_EQ(samples[i], samples[i + 1]) << "mono on both sides";
  // Raised cosine: full level where the fade starts, half the gain halfway
  // through it, nothing at the end.
  EXPECT_NEAR(Level(samples, kRate * 3 / 4 - 960, 960), full, 0.02);
  EXPECT_NEAR(Level(samples, kRate * 7 / 8 - 480, 960), full / 2, 0.02);
  EXPECT_LT(Level(samples, kRate - 480, 480), 0.01);
  float block[2 * 16];
  EXPECT_EQ(audio.Read(block, 16, error), 0) << "nothing past the clip's end";
}

TEST(TrackAudio, AShorterTrackEndsWithItsOwnSound) {
  const std::vector<uint8_t> mp3 = EncodeToneMp3({440.0, 0.5, 0.5, 44100, 128});
  TrackAudio audio;
  std::string error;
  ASSERT_TRUE(audio.Open(mp3.data(), mp3.size(), kRate, 3 * kRate, kRate, error)) << error;
  const std::vector<float> samples = ReadAll(audio);
  // Half a second and the MP3 encoder's delay and padding (two frames at
  // most, which this track has no tag to remove); unfaded.
  EXPECT_GE(samples.size() / 2, size_t{kRate / 2});
  EXPECT_LE(samples.size() / 2, size_t{kRate / 2 + 2 * 1152 * kRate / 44100});
  EXPECT_GT(Level(samples, kRate / 8, kRate / 4), 0.2);
}

TEST(TrackAudio, RefusesBytesThatHoldNoSound) {
  const std::vector<std::vector<uint8_t>> cases = {{}, std::vector<uint8_t>(5000, 0x55), {'P', 'K', 3, 4, 0, 0}};
  for (const std::vector<uint8_t>& bytes : cases) {
    TrackAudio audio;
    std::string error;
    EXPECT_FALSE(audio.Open(bytes.data(), bytes.size(), kRate, kRate, 0, error)) << bytes.size();
    EXPECT_NE(error, "");
    float block[2];
    EXPECT_EQ(audio.Read(block, 1, error), 0);
  }
}

}  // namespace
