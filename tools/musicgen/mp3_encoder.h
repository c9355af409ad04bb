// MP3 encoding of the rendered music with LAME: constant bit rate, joint
// stereo, an Info tag for exact length, no ID3 tag.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/musicgen/renderer.h"

namespace musicgen {

constexpr int kMp3KilobitsPerSecond = 160;

// False with a reason when LAME refuses the settings or the input.
bool EncodeMp3(const StereoPcm& pcm, std::vector<uint8_t>& mp3, std::string& error);

}  // namespace musicgen
