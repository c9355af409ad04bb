// Echo and reverb processing, one sample at a time over a block.
#include "tools/musicgen/effects.h"

#include <cmath>

namespace musicgen {

PingPongDelay::PingPongDelay(double leftSeconds, double rightSeconds, double feedback)
    : left_(static_cast<size_t>(leftSeconds * kSampleRate) + 1, 0.0f),
      right_(static_cast<size_t>(rightSeconds * kSampleRate) + 1, 0.0f),
      feedback_(feedback) {
  leftTone_.SetCutoff(3200.0);
  rightTone_.SetCutoff(3200.0);
}

void PingPongDelay::Process(const float* input, float* left, float* right, int frames) {
  for (int i = 0; i < frames; ++i) {
    const double fromLeft = left_[leftAt_];
    const double fromRight = right_[rightAt_];
    left[i] += static_cast<float>(fromLeft);
    right[i] += static_cast<float>(fromRight);
    // The input enters on the left; each line feeds the other, darkened.
    left_[leftAt_] = static_cast<float>(input[i] + feedback_ * rightTone_.Process(fromRight));
    right_[rightAt_] = static_cast<float>(feedback_ * leftTone_.Process(fromLeft) + 0.3 * input[i]);
    if (++leftAt_ == left_.size()) leftAt_ = 0;
    if (++rightAt_ == right_.size()) rightAt_ = 0;
  }
}

Reverb::Reverb(double decaySeconds) {
  // Mutually prime lengths (35 to 112 ms) so the echoes never line up.
  static constexpr std::array<int, kLines> kLengths = {1553, 1871, 2251, 2719, 3203, 3727, 4283, 4919};
  static constexpr std::array<int, kDiffusers> kDiffuserLengths = {142, 107, 379, 277};
  for (int i = 0; i < kLines; ++i) {
    lines_[i].assign(static_cast<size_t>(kLengths[i]), 0.0f);
    gains_[i] = std::pow(10.0, -3.0 * kLengths[i] / (decaySeconds * kSampleRate));
    damping_[i] = 0.0;
  }
  for (int i = 0; i < kDiffusers; ++i) diffusers_[i].assign(static_cast<size_t>(kDiffuserLengths[i]), 0.0f);
  preDelay_.assign(static_cast<size_t>(0.025 * kSampleRate), 0.0f);
}

void Reverb::Process(const float* input, float* left, float* right, int frames) {
  // Damping in the loop: high frequencies die away faster than lows.
  const double damp = 1.0 - std::exp(-2.0 * kPi * 4500.0 / kSampleRate);
  static constexpr double kDiffusion = 0.6;
  static constexpr std::array<double, kLines> kLeftSigns = {1, -1, 1, -1, 1, -1, 1, -1};
  static constexpr std::array<double, kLines> kRightSigns = {1, 1, -1, -1, 1, 1, -1, -1};
  static constexpr std::array<double, kLines> kInputSigns = {1, 1, 1, 1, -1, -1, -1, -1};
  for (int i = 0; i < frames; ++i) {
    double x = preDelay_[preDelayAt_];
    preDelay_[preDelayAt_] = input[i];
    if (++preDelayAt_ == preDelay_.size()) preDelayAt_ = 0;
    for (int d = 0; d < kDiffusers; ++d) {
      std::vector<float>& buffer = diffusers_[d];
      const double delayed = buffer[diffuserAt_[d]];
      const double w = x + kDiffusion * delayed;
      x = delayed - kDiffusion * w;
      buffer[diffuserAt_[d]] = static_cast<float>(w);
      if (++diffuserAt_[d] == buffer.size()) diffuserAt_[d] = 0;
    }
    std::array<double, kLines> outputs;
    double sum = 0.0, outLeft = 0.0, outRight = 0.0;
    for (int l = 0; l < kLines; ++l) {
      const double value = lines_[l][lineAt_[l]];
      outLeft += kLeftSigns[l] * value;
      outRight += kRightSigns[l] * value;
      damping_[l] += damp * (value - damping_[l]);
      outputs[l] = damping_[l] * gains_[l];
      sum += outputs[l];
    }
    const double householder = sum * (2.0 / kLines);
    for (int l = 0; l < kLines; ++l) {
      lines_[l][lineAt_[l]] = static_cast<float>(outputs[l] - householder + kInputSigns[l] * 0.35 * x);
      if (++lineAt_[l] == lines_[l].size()) lineAt_[l] = 0;
    }
    left[i] += static_cast<float>(outLeft * 0.35);
    right[i] += static_cast<float>(outRight * 0.35);
  }
}

}  // namespace musicgen
