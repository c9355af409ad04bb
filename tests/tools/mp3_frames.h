// Test helper: walks the frames of an MPEG-1 Layer III stream to learn its
// sample rate, bit rate, frame count and length, independently of LAME.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace testing_mp3 {

struct Mp3Summary {
  int frames = 0;  // audio frames, not counting an Info/Xing tag frame
  int sampleRate = 0;
  int firstBitrateKbps = 0;  // of the first audio frame
  bool constantBitrate = true;
  bool hasInfoTag = false;
  bool stereo = false;
  double Seconds() const { return sampleRate > 0 ? frames * 1152.0 / sampleRate : 0.0; }
};

// False when the data does not start with an MPEG-1 Layer III frame or a
// frame is cut short.
inline bool ScanMp3(const std::vector<uint8_t>& data, Mp3Summary& summary) {
  static constexpr int kBitrates[16] = {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0};
  static constexpr int kRates[4] = {44100, 48000, 32000, 0};
  summary = Mp3Summary();
  size_t at = 0;
  bool first = true;
  while (at + 4 <= data.size()) {
    const uint8_t* h = &data[at];
    const bool sync = h[0] == 0xFF && (h[1] & 0xE0) == 0xE0;
    const bool mpeg1Layer3 = ((h[1] >> 3) & 3) == 3 && ((h[1] >> 1) & 3) == 1;
    const int bitrate = kBitrates[h[2] >> 4];
    const int rate = kRates[(h[2] >> 2) & 3];
    if (!sync || !mpeg1Layer3 || bitrate == 0 || rate == 0) return false;
    const int padding = (h[2] >> 1) & 1;
    const size_t length = static_cast<size_t>(144000 * bitrate / rate + padding);
    if (at + length > data.size()) return false;
    const bool stereo = (h[3] >> 6) != 3;
    const size_t tagAt = at + 4 + (stereo ? 32 : 17);
    const bool tag = first && tagAt + 4 <= data.size() &&
                     (std::memcmp(&data[tagAt], "Info", 4) == 0 || std::memcmp(&data[tagAt], "Xing", 4) == 0);
    if (tag) {
      summary.hasInfoTag = true;
    } else {
      if (summary.frames == 0) summary.firstBitrateKbps = bitrate;
      else if (bitrate != summary.firstBitrateKbps) summary.constantBitrate = false;
      ++summary.frames;
    }
    summary.sampleRate = rate;
    summary.stereo = stereo;
    first = false;
    at += length;
  }
  return at == data.size() && summary.frames > 0;
}

}  // namespace testing_mp3
