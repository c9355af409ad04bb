// MP3 encoding with LAME: constant bit rate, no ID3 tag; for the music,
// joint stereo and an Info tag for exact length.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/musicgen/renderer.h"

namespace musicgen {

constexpr int kMp3KilobitsPerSecond = 160;

struct Mp3Settings {
  int kilobitsPerSecond = kMp3KilobitsPerSecond;
  int quality = 3;      // LAME's scale: 0 best and slowest, 9 fastest
  bool mono = false;    // the left channel alone
  bool infoTag = true;  // a first frame that tells decoders the exact length
};

// False with a reason when LAME refuses the settings or the input.
bool EncodeMp3(const StereoPcm& pcm, std::vector<uint8_t>& mp3, std::string& error, const Mp3Settings& settings = {});

}  // namespace musicgen
