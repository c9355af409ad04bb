// Small signal-processing building blocks for the music generator: wave
// tables read with a 32-bit phase, filters and an envelope helper. Plain
// arithmetic only, so equal inputs give equal samples everywhere.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

namespace musicgen {

constexpr double kSampleRate = 44100.0;
constexpr double kPi = 3.14159265358979323846;

// One period of a waveform in kTableSize points plus a guard point for
// interpolation. The phase is a 32-bit fraction of a cycle.
constexpr int kTableBits = 12;
constexpr int kTableSize = 1 << kTableBits;
using WaveTable = std::array<float, kTableSize + 1>;

const WaveTable& SineTable();
// A warm, band-limited saw-like wave (harmonics falling faster than 1/n),
// the raw material of the pads; peak 1.
const WaveTable& PadTable();

inline float ReadTable(const WaveTable& table, uint32_t phase) {
  const uint32_t index = phase >> (32 - kTableBits);
  const float fraction =
      static_cast<float>(phase & ((1u << (32 - kTableBits)) - 1)) * (1.0f / (1u << (32 - kTableBits)));
  return table[index] + (table[index + 1] - table[index]) * fraction;
}

// Phase increment per sample for a frequency in hertz.
inline uint32_t PhaseStep(double hertz) {
  return static_cast<uint32_t>(static_cast<int64_t>(hertz / kSampleRate * 4294967296.0));
}

inline double MidiToHertz(double note) { return 440.0 * std::pow(2.0, (note - 69.0) / 12.0); }

// Equal-power pan: position -1 (left) to 1 (right).
inline void PanGains(double position, float& left, float& right) {
  const double angle = (position + 1.0) * 0.25 * kPi;
  left = static_cast<float>(std::cos(angle));
  right = static_cast<float>(std::sin(angle));
}

// Zero-delay-feedback state-variable low-pass (stable for any cutoff below Nyquist).
class LowPassSvf {
 public:
  void SetCutoff(double hertz, double q) {
    const double g = std::tan(kPi * std::min(hertz, 0.45 * kSampleRate) / kSampleRate);
    const double k = 1.0 / q;
    a1_ = 1.0 / (1.0 + g * (g + k));
    a2_ = g * a1_;
    a3_ = g * a2_;
  }
  double Process(double input) {
    const double v3 = input - ic2_;
    const double v1 = a1_ * ic1_ + a2_ * v3;
    const double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0 * v1 - ic1_;
    ic2_ = 2.0 * v2 - ic2_;
    return v2;
  }

 private:
  double a1_ = 0.0, a2_ = 0.0, a3_ = 0.0, ic1_ = 0.0, ic2_ = 0.0;
};

// First-order low-pass.
class OnePole {
 public:
  void SetCutoff(double hertz) { coefficient_ = 1.0 - std::exp(-2.0 * kPi * hertz / kSampleRate); }
  double Process(double input) { return state_ += coefficient_ * (input - state_); }

 private:
  double coefficient_ = 1.0, state_ = 0.0;
};

// Removes any constant offset.
class DcBlocker {
 public:
  double Process(double input) {
    const double output = input - previousInput_ + 0.9995 * previousOutput_;
    previousInput_ = input;
    previousOutput_ = output;
    return output;
  }

 private:
  double previousInput_ = 0.0, previousOutput_ = 0.0;
};

// Second-order Butterworth-style low-pass (the usual biquad recipe).
class Biquad {
 public:
  void SetLowPass(double hertz, double q) {
    const double w = 2.0 * kPi * hertz / kSampleRate;
    const double alpha = std::sin(w) / (2.0 * q);
    const double cosine = std::cos(w);
    const double a0 = 1.0 + alpha;
    b0_ = (1.0 - cosine) / 2.0 / a0;
    b1_ = (1.0 - cosine) / a0;
    b2_ = b0_;
    a1_ = -2.0 * cosine / a0;
    a2_ = (1.0 - alpha) / a0;
  }
  double Process(double input) {
    const double output = b0_ * input + z1_;
    z1_ = b1_ * input - a1_ * output + z2_;
    z2_ = b2_ * input - a2_ * output;
    return output;
  }

 private:
  double b0_ = 1.0, b1_ = 0.0, b2_ = 0.0, a1_ = 0.0, a2_ = 0.0, z1_ = 0.0, z2_ = 0.0;
};

// Raised-cosine ramp from 0 at x <= 0 to 1 at x >= 1.
inline double SmoothRamp(double x) {
  if (x <= 0.0) return 0.0;
  if (x >= 1.0) return 1.0;
  return 0.5 - 0.5 * std::cos(kPi * x);
}

}  // namespace musicgen
