// Sine tones rendered to 16-bit PCM and encoded to constant-bitrate MP3.
#include "tools/tonepack/tone_track.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

struct LameCloser {
  void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

std::vector<short> renderTone(const ToneSettings& tone) {
  const size_t count = static_cast<size_t>(tone.seconds * tone.sampleRate);
  const size_t fade = std::min(count / 2, static_cast<size_t>(tone.sampleRate / 100));
  const double amplitude = std::clamp(tone.amplitude, 0.0, 1.0) * 32767.0;
  std::vector<short> samples(count);
  for (size_t i = 0; i < count; ++i) {
    double envelope = 1.0;
    if (fade > 0 && i < fade) envelope = static_cast<double>(i) / fade;
    if (fade > 0 && count - i <= fade) envelope = static_cast<double>(count - i - 1) / fade;
    double phase = 2.0 * M_PI * tone.frequencyHz * static_cast<double>(i) / tone.sampleRate;
    samples[i] = static_cast<short>(std::lround(amplitude * envelope * std::sin(phase)));
  }
  return samples;
}

}  // namespace

std::vector<uint8_t> EncodeToneMp3(const ToneSettings& tone) {
  if (!(tone.seconds > 0) || tone.seconds > 600 || tone.sampleRate < 8000 || tone.sampleRate > 48000)
    return {};
  std::vector<short> samples = renderTone(tone);
  if (samples.empty()) return {};

  std::unique_ptr<lame_global_flags, LameCloser> lame(lame_init());
  if (!lame) return {};
  lame_set_in_samplerate(lame.get(), tone.sampleRate);
  lame_set_out_samplerate(lame.get(), tone.sampleRate);
  lame_set_num_channels(lame.get(), 1);
  lame_set_mode(lame.get(), MONO);
  lame_set_brate(lame.get(), tone.bitrateKbps);
  lame_set_quality(lame.get(), 7);
  // No Xing/Info frame: it would have to be patched in after the fact, and
  // the decoder's length estimate from the frame count is good enough here.
  lame_set_bWriteVbrTag(lame.get(), 0);
  if (lame_init_params(lame.get()) < 0) return {};

  // Worst case from lame.h: 1.25 * samples + 7200 bytes.
  std::vector<uint8_t> mp3(samples.size() * 5 / 4 + 7200);
  int written = lame_encode_buffer(lame.get(), samples.data(), samples.data(), static_cast<int>(samples.size()),
                                   mp3.data(), static_cast<int>(mp3.size()));
  if (written < 0) return {};
  int flushed = lame_encode_flush(lame.get(), mp3.data() + written, static_cast<int>(mp3.size()) - written);
  if (flushed < 0) return {};
  mp3.resize(static_cast<size_t>(written + flushed));
  return mp3;
}
