// The room of the music generator: a ping-pong echo with darkening repeats
// and a feedback-delay-network reverb with input diffusion.
#pragma once

#include <array>
#include <vector>

#include "tools/musicgen/dsp.h"

namespace musicgen {

// Echo bouncing between the channels; each repeat a little darker.
class PingPongDelay {
 public:
  PingPongDelay(double leftSeconds, double rightSeconds, double feedback);
  // Adds the echoes of the mono input to left and right.
  void Process(const float* input, float* left, float* right, int frames);

 private:
  std::vector<float> left_, right_;
  size_t leftAt_ = 0, rightAt_ = 0;
  double feedback_;
  OnePole leftTone_, rightTone_;
};

// Eight delay lines mixed through a Householder matrix, damped per line,
// after four all-pass diffusers; decay time to -60 dB in seconds.
class Reverb {
 public:
  explicit Reverb(double decaySeconds);
  // Adds the reverberation of the mono input to left and right.
  void Process(const float* input, float* left, float* right, int frames);

 private:
  static constexpr int kLines = 8;
  static constexpr int kDiffusers = 4;
  std::array<std::vector<float>, kLines> lines_;
  std::array<size_t, kLines> lineAt_{};
  std::array<double, kLines> gains_{};
  std::array<double, kLines> damping_{};
  std::array<std::vector<float>, kDiffusers> diffusers_;
  std::array<size_t, kDiffusers> diffuserAt_{};
  std::vector<float> preDelay_;
  size_t preDelayAt_ = 0;
};

}  // namespace musicgen
