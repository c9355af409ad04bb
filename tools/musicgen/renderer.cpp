// Block-wise rendering: voices start when their notes do and are dropped
// when silent; buses go through the effects into the master, which is
// faded and normalised at the end.
#include "tools/musicgen/renderer.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "tools/musicgen/dsp.h"
#include "tools/musicgen/effects.h"
#include "tools/musicgen/score.h"
#include "tools/musicgen/voices.h"

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

namespace musicgen {
namespace {

constexpr int kBlock = 256;

// Very small numbers in the decaying reverb would slow the arithmetic down a
// hundredfold; flushing them to zero changes nothing audible. The caller's
// floating-point mode is restored on the way out.
class FlushDenormals {
 public:
#if defined(__SSE__) || defined(__x86_64__)
  FlushDenormals() : saved_(_mm_getcsr()) { _mm_setcsr(saved_ | 0x8040); }
  ~FlushDenormals() { _mm_setcsr(saved_); }

 private:
  unsigned saved_;
#endif
};

}  // namespace

StereoPcm RenderPiece(const PieceStyle& style, double durationSeconds) {
  const FlushDenormals flushDenormals;
  const auto total = static_cast<int64_t>(std::llround(durationSeconds * kSampleRate));
  StereoPcm pcm;
  pcm.sampleRate = static_cast<int>(kSampleRate);
  pcm.left.assign(static_cast<size_t>(total), 0.0f);
  pcm.right.assign(static_cast<size_t>(total), 0.0f);

  const std::vector<NoteEvent> events = WriteScore(style, durationSeconds);
  size_t nextEvent = 0;
  std::vector<std::unique_ptr<Voice>> voices;

  std::array<std::vector<float>, 6> bus;
  for (auto& b : bus) b.assign(kBlock, 0.0f);
  std::vector<float> echoLeft(kBlock), echoRight(kBlock), roomLeft(kBlock), roomRight(kBlock), roomInput(kBlock);
  const Buses buses{bus[0].data(), bus[1].data(), bus[2].data(), bus[3].data(), bus[4].data(), bus[5].data()};

  LowPassSvf padFilterLeft, padFilterRight;
  PingPongDelay delay(style.delayLeftSeconds, style.delayRightSeconds, style.delayFeedback);
  Reverb reverb(style.reverbSeconds);
  DcBlocker dcLeft, dcRight;
  // Two low-pass stages take the edge off the top octave.
  std::array<Biquad, 4> topRollOff;
  for (Biquad& stage : topRollOff) stage.SetLowPass(9000.0, 0.7071);

  for (int64_t blockStart = 0; blockStart < total; blockStart += kBlock) {
    const int frames = static_cast<int>(std::min<int64_t>(kBlock, total - blockStart));
    const double blockEndSeconds = static_cast<double>(blockStart + frames) / kSampleRate;
    while (nextEvent < events.size() && events[nextEvent].startSeconds < blockEndSeconds) {
      if (auto voice = MakeVoice(events[nextEvent], style)) voices.push_back(std::move(voice));
      ++nextEvent;
    }
    for (auto& b : bus) std::fill(b.begin(), b.begin() + frames, 0.0f);
    for (size_t v = 0; v < voices.size();) {
      if (voices[v]->Render(buses, blockStart, frames)) {
        ++v;
      } else {
        voices[v] = std::move(voices.back());
        voices.pop_back();
      }
    }

    // The pad's tone opens and closes over a slow cycle.
    const double t = static_cast<double>(blockStart) / kSampleRate;
    const double cutoff = style.padCutoffHertz * std::pow(2.0, 0.9 * std::sin(2.0 * kPi * t / style.padSweepSeconds));
    padFilterLeft.SetCutoff(cutoff, 0.8);
    padFilterRight.SetCutoff(cutoff, 0.8);

    std::fill(echoLeft.begin(), echoLeft.end(), 0.0f);
    std::fill(echoRight.begin(), echoRight.end(), 0.0f);
    std::fill(roomLeft.begin(), roomLeft.end(), 0.0f);
    std::fill(roomRight.begin(), roomRight.end(), 0.0f);
    delay.Process(buses.delaySend, echoLeft.data(), echoRight.data(), frames);
    for (int i = 0; i < frames; ++i) roomInput[i] = buses.reverbSend[i] + 0.3f * (echoLeft[i] + echoRight[i]);
    reverb.Process(roomInput.data(), roomLeft.data(), roomRight.data(), frames);

    for (int i = 0; i < frames; ++i) {
      const double padLeft = padFilterLeft.Process(buses.padLeft[i]);
      const double padRight = padFilterRight.Process(buses.padRight[i]);
      double left = padLeft + buses.leadLeft[i] + 0.5 * echoLeft[i] + style.reverbMix * roomLeft[i];
      double right = padRight + buses.leadRight[i] + 0.5 * echoRight[i] + style.reverbMix * roomRight[i];
      left = topRollOff[1].Process(topRollOff[0].Process(dcLeft.Process(left)));
      right = topRollOff[3].Process(topRollOff[2].Process(dcRight.Process(right)));
      pcm.left[static_cast<size_t>(blockStart + i)] = static_cast<float>(left);
      pcm.right[static_cast<size_t>(blockStart + i)] = static_cast<float>(right);
    }
  }

  // Gentle fade in and a longer fade out, then scale to the target peak.
  const double fadeIn = std::min(6.0, durationSeconds / 4.0);
  const double fadeOut = std::min(14.0, durationSeconds / 4.0);
  double peak = 0.0;
  for (int64_t i = 0; i < total; ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double gain = SmoothRamp(t / fadeIn) * SmoothRamp((durationSeconds - t) / fadeOut);
    auto& l = pcm.left[static_cast<size_t>(i)];
    auto& r = pcm.right[static_cast<size_t>(i)];
    l = static_cast<float>(l * gain);
    r = static_cast<float>(r * gain);
    peak = std::max({peak, static_cast<double>(std::fabs(l)), static_cast<double>(std::fabs(r))});
  }
  if (peak > 0.0) {
    const auto scale = static_cast<float>(kPeakLevel / peak);
    for (float& v : pcm.left) v *= scale;
    for (float& v : pcm.right) v *= scale;
  }
  return pcm;
}

}  // namespace musicgen
