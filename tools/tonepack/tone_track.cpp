// Sine tones rendered to samples and encoded by the music generator's MP3 encoder.
#include "tools/tonepack/tone_track.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "tools/musicgen/mp3_encoder.h"
#include "tools/musicgen/renderer.h"

namespace {

// The tone, faded in and out over 10 ms; the encoder reads the left channel
// of a mono track, and both channels must have the same length.
musicgen::StereoPcm renderTone(const ToneSettings& tone) {
  const size_t count = static_cast<size_t>(tone.seconds * tone.sampleRate);
  const size_t fade = std::min(count / 2, static_cast<size_t>(tone.sampleRate / 100));
  const double amplitude = std::clamp(tone.amplitude, 0.0, 1.0);
  musicgen::StereoPcm pcm;
  pcm.sampleRate = tone.sampleRate;
  pcm.left.resize(count);
  for (size_t i = 0; i < count; ++i) {
    double envelope = 1.0;
    if (fade > 0 && i < fade) envelope = static_cast<double>(i) / fade;
    if (fade > 0 && count - i <= fade) envelope = static_cast<double>(count - i - 1) / fade;
    const double phase = 2.0 * M_PI * tone.frequencyHz * static_cast<double>(i) / tone.sampleRate;
    pcm.left[i] = static_cast<float>(amplitude * envelope * std::sin(phase));
  }
  pcm.right = pcm.left;
  return pcm;
}

}  // namespace

std::vector<uint8_t> EncodeToneMp3(const ToneSettings& tone) {
  if (!(tone.seconds > 0) || tone.seconds > 600 || tone.sampleRate < 8000 || tone.sampleRate > 48000) return {};
  const musicgen::StereoPcm pcm = renderTone(tone);
  if (pcm.left.empty()) return {};
  musicgen::Mp3Settings settings;
  settings.kilobitsPerSecond = tone.bitrateKbps;
  settings.quality = 7;
  settings.mono = true;
  settings.infoTag = false;
  std::vector<uint8_t> mp3;
  std::string error;
  if (!musicgen::EncodeMp3(pcm, mp3, error, settings)) return {};
  return mp3;
}
