// LAME-based MP3 encoding in blocks; the Info tag frame that LAME leaves as
// a placeholder at the start is filled in once encoding has finished.
#include "tools/musicgen/mp3_encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <memory>

namespace musicgen {
namespace {

struct LameDeleter {
  void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

}  // namespace

bool EncodeMp3(const StereoPcm& pcm, std::vector<uint8_t>& mp3, std::string& error, const Mp3Settings& settings) {
  if (pcm.left.size() != pcm.right.size()) {
    error = "channels differ in length";
    return false;
  }
  std::unique_ptr<lame_global_flags, LameDeleter> lame(lame_init());
  if (!lame) {
    error = "LAME did not start";
    return false;
  }
  lame_set_num_channels(lame.get(), settings.mono ? 1 : 2);
  lame_set_in_samplerate(lame.get(), pcm.sampleRate);
  lame_set_out_samplerate(lame.get(), pcm.sampleRate);
  lame_set_mode(lame.get(), settings.mono ? MONO : JOINT_STEREO);
  lame_set_VBR(lame.get(), vbr_off);
  lame_set_brate(lame.get(), settings.kilobitsPerSecond);
  lame_set_quality(lame.get(), settings.quality);
  lame_set_bWriteVbrTag(lame.get(), settings.infoTag ? 1 : 0);
  lame_set_write_id3tag_automatic(lame.get(), 0);
  if (lame_init_params(lame.get()) < 0) {
    error = "LAME refused the settings";
    return false;
  }
  constexpr int kChunk = 8192;
  // Worst case output size per LAME's documentation: 1.25 * samples + 7200.
  std::vector<unsigned char> buffer(kChunk * 5 / 4 + 7200);
  mp3.clear();
  const size_t frames = pcm.left.size();
  for (size_t at = 0; at < frames; at += kChunk) {
    const int count = static_cast<int>(std::min<size_t>(kChunk, frames - at));
    const int written = lame_encode_buffer_ieee_float(lame.get(), pcm.left.data() + at, pcm.right.data() + at, count,
                                                      buffer.data(), static_cast<int>(buffer.size()));
    if (written < 0) {
      error = "LAME failed while encoding";
      return false;
    }
    mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + written);
  }
  const int flushed = lame_encode_flush(lame.get(), buffer.data(), static_cast<int>(buffer.size()));
  if (flushed < 0) {
    error = "LAME failed while finishing";
    return false;
  }
  mp3.insert(mp3.end(), buffer.begin(), buffer.begin() + flushed);
  if (!settings.infoTag) return true;
  const size_t tagSize = lame_get_lametag_frame(lame.get(), buffer.data(), buffer.size());
  if (tagSize > 0 && tagSize <= mp3.size())
    std::copy(buffer.begin(), buffer.begin() + static_cast<ptrdiff_t>(tagSize), mp3.begin());
  return true;
}

}  // namespace musicgen
