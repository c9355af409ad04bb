// Voice implementations. Envelopes and pitch drift are computed once per
// block and interpolated; oscillators read wave tables with 32-bit phases.
#include "tools/musicgen/voices.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "tools/musicgen/dsp.h"

namespace musicgen {
namespace {

// Sustained voice: up to three table oscillators with slow pitch drift, a
// raised-cosine attack and release around the note's length.
class SustainedVoice : public Voice {
 public:
  struct Oscillator {
    const WaveTable* table;
    double hertz;
    double gain;
    double pan;
    double driftCents;
    double driftRate;
    double driftPhase;
  };

  SustainedVoice(const NoteEvent& event, int oscillatorCount, const std::array<Oscillator, 3>& oscillators,
                 double attackSeconds, double releaseSeconds, double reverbSend, double delaySend, double tremoloRate,
                 bool intoPad)
      : start_(static_cast<int64_t>(event.startSeconds * kSampleRate)),
        noteOff_(event.lengthSeconds),
        attack_(attackSeconds),
        release_(releaseSeconds),
        level_(event.velocity),
        reverbSend_(reverbSend),
        delaySend_(delaySend),
        tremoloRate_(tremoloRate),
        intoPad_(intoPad),
        count_(oscillatorCount),
        oscillators_(oscillators) {
    for (int i = 0; i < count_; ++i) PanGains(oscillators_[i].pan, left_[i], right_[i]);
  }

  bool Render(const Buses& buses, int64_t blockStart, int frames) override {
    const int64_t blockEnd = blockStart + frames;
    if (blockEnd <= start_) return true;
    const int first = static_cast<int>(std::max<int64_t>(0, start_ - blockStart));
    const double t0 = static_cast<double>(blockStart + first - start_) / kSampleRate;
    const double t1 = static_cast<double>(blockEnd - start_) / kSampleRate;
    const double e0 = Envelope(t0), e1 = Envelope(t1);
    float* left = intoPad_ ? buses.padLeft : buses.leadLeft;
    float* right = intoPad_ ? buses.padRight : buses.leadRight;
    const int count = frames - first;
    for (int o = 0; o < count_; ++o) {
      const Oscillator& osc = oscillators_[o];
      const double cents = osc.driftCents * std::sin(2.0 * kPi * osc.driftRate * t0 + osc.driftPhase);
      const uint32_t step = PhaseStep(osc.hertz * std::pow(2.0, cents / 1200.0));
      const double g0 = e0 * osc.gain * Tremolo(t0), g1 = e1 * osc.gain * Tremolo(t1);
      uint32_t phase = phases_[o];
      for (int i = 0; i < count; ++i) {
        const double gain = g0 + (g1 - g0) * i / count;
        const float sample = static_cast<float>(ReadTable(*osc.table, phase) * gain);
        phase += step;
        left[first + i] += sample * left_[o];
        right[first + i] += sample * right_[o];
        buses.reverbSend[first + i] += static_cast<float>(sample * reverbSend_);
        buses.delaySend[first + i] += static_cast<float>(sample * delaySend_);
      }
      phases_[o] = phase;
    }
    return t1 < noteOff_ + release_;
  }

 private:
  double Envelope(double t) const {
    double value = SmoothRamp(t / attack_);
    if (t > noteOff_) value *= 1.0 - SmoothRamp((t - noteOff_) / release_);
    return value * level_;
  }
  double Tremolo(double t) const {
    return tremoloRate_ > 0.0 ? 0.75 + 0.25 * std::sin(2.0 * kPi * tremoloRate_ * t) : 1.0;
  }

  int64_t start_;
  double noteOff_, attack_, release_, level_, reverbSend_, delaySend_, tremoloRate_;
  bool intoPad_;
  int count_;
  std::array<Oscillator, 3> oscillators_;
  std::array<uint32_t, 3> phases_{};
  std::array<float, 3> left_{}, right_{};
};

// Two-operator FM bell: the modulation fades faster than the tone, so each
// strike starts glassy and settles into a near-sine.
class GlassVoice : public Voice {
 public:
  GlassVoice(const NoteEvent& event, const PieceStyle& style)
      : start_(static_cast<int64_t>(event.startSeconds * kSampleRate)) {
    const double hertz = MidiToHertz(event.midi);
    carrierStep_ = PhaseStep(hertz);
    modulatorStep_ = PhaseStep(hertz * style.fmRatio);
    const double decay = style.bellDecaySeconds * std::pow(440.0 / hertz, 0.3);
    amplitude_ = 0.38 * event.velocity * style.leadLevel;
    amplitudeDecay_ = std::exp(-1.0 / (decay * kSampleRate));
    index_ = std::min(2.0, style.fmIndex * std::sqrt(440.0 / hertz) * (0.6 + 0.6 * event.velocity));
    indexDecay_ = std::exp(-1.0 / (0.35 * decay * kSampleRate));
    attackSamples_ = static_cast<int>(0.008 * kSampleRate);
    PanGains(event.pan, left_, right_);
  }

  bool Render(const Buses& buses, int64_t blockStart, int frames) override {
    const int64_t blockEnd = blockStart + frames;
    if (blockEnd <= start_) return true;
    const int first = static_cast<int>(std::max<int64_t>(0, start_ - blockStart));
    const WaveTable& sine = SineTable();
    // Radians of modulation to a 32-bit phase offset.
    constexpr double kRadiansToPhase = 4294967296.0 / (2.0 * kPi);
    for (int i = first; i < frames; ++i) {
      const double modulation = ReadTable(sine, modulatorPhase_) * index_;
      const auto offset = static_cast<uint32_t>(static_cast<int64_t>(modulation * kRadiansToPhase));
      double sample = ReadTable(sine, carrierPhase_ + offset) * amplitude_;
      if (age_ < attackSamples_) sample *= SmoothRamp(static_cast<double>(age_) / attackSamples_);
      ++age_;
      carrierPhase_ += carrierStep_;
      modulatorPhase_ += modulatorStep_;
      amplitude_ *= amplitudeDecay_;
      index_ *= indexDecay_;
      const auto value = static_cast<float>(sample);
      buses.leadLeft[i] += value * left_;
      buses.leadRight[i] += value * right_;
      buses.delaySend[i] += value * 0.35f;
      buses.reverbSend[i] += value * 0.6f;
    }
    return amplitude_ > 1e-5;
  }

 private:
  int64_t start_;
  uint32_t carrierPhase_ = 0, modulatorPhase_ = 0, carrierStep_ = 0, modulatorStep_ = 0;
  double amplitude_ = 0.0, amplitudeDecay_ = 1.0, index_ = 0.0, indexDecay_ = 1.0;
  int attackSamples_ = 1, age_ = 0;
  float left_ = 0.0f, right_ = 0.0f;
};

// Plucked string from six slightly stretched partials, the higher ones
// dying away first.
class HarpVoice : public Voice {
 public:
  HarpVoice(const NoteEvent& event, const PieceStyle& style)
      : start_(static_cast<int64_t>(event.startSeconds * kSampleRate)) {
    const double hertz = MidiToHertz(event.midi);
    const double decay = std::min(4.0, 2.6 * std::pow(220.0 / hertz, 0.4));
    for (int k = 0; k < kPartials; ++k) {
      const int n = k + 1;
      steps_[k] = PhaseStep(hertz * n * (1.0 + 0.0004 * n * n));
      amplitudes_[k] = 0.3 * event.velocity * style.leadLevel * std::pow(n, -1.5) * (n == 2 ? 0.8 : 1.0);
      decays_[k] = std::exp(-1.0 / (decay / (1.0 + 0.8 * k) * kSampleRate));
      phases_[k] = static_cast<uint32_t>(k) * 0x2F000000u;
    }
    attackSamples_ = static_cast<int>(0.007 * kSampleRate);
    PanGains(event.pan, left_, right_);
  }

  bool Render(const Buses& buses, int64_t blockStart, int frames) override {
    const int64_t blockEnd = blockStart + frames;
    if (blockEnd <= start_) return true;
    const int first = static_cast<int>(std::max<int64_t>(0, start_ - blockStart));
    const WaveTable& sine = SineTable();
    for (int i = first; i < frames; ++i) {
      double sample = 0.0;
      for (int k = 0; k < kPartials; ++k) {
        sample += ReadTable(sine, phases_[k]) * amplitudes_[k];
        phases_[k] += steps_[k];
        amplitudes_[k] *= decays_[k];
      }
      if (age_ < attackSamples_) sample *= SmoothRamp(static_cast<double>(age_) / attackSamples_);
      ++age_;
      const auto value = static_cast<float>(sample);
      buses.leadLeft[i] += value * left_;
      buses.leadRight[i] += value * right_;
      buses.delaySend[i] += value * 0.25f;
      buses.reverbSend[i] += value * 0.45f;
    }
    return amplitudes_[0] > 1e-5;
  }

 private:
  static constexpr int kPartials = 6;
  int64_t start_;
  std::array<uint32_t, kPartials> phases_{}, steps_{};
  std::array<double, kPartials> amplitudes_{}, decays_{};
  int attackSamples_ = 1, age_ = 0;
  float left_ = 0.0f, right_ = 0.0f;
};

}  // namespace

std::unique_ptr<Voice> MakeVoice(const NoteEvent& event, const PieceStyle& style) {
  const double hertz = MidiToHertz(event.midi);
  // Drift phases and rates come from the note itself, so they differ between
  // voices without another random source.
  const double seed = event.midi * 0.37 + event.startSeconds * 0.11;
  std::array<SustainedVoice::Oscillator, 3> oscillators{};
  switch (event.instrument) {
    case Instrument::Pad: {
      const double gain = 0.045 * style.padLevel;
      for (int i = 0; i < 3; ++i) {
        const double spread = (i - 1) * 0.3;
        oscillators[i] = {&PadTable(),   hertz * std::pow(2.0, (i - 1) * 7.0 / 1200.0),
                          gain,          std::clamp(event.pan + spread, -1.0, 1.0),
                          4.0,           0.07 + 0.05 * i,
                          seed + i * 2.1};
      }
      return std::make_unique<SustainedVoice>(event, 3, oscillators, 4.0, 4.5, 0.5, 0.0, 0.0, true);
    }
    case Instrument::Drone:
      oscillators[0] = {&SineTable(), hertz, 0.06 * style.padLevel, 0.0, 2.0, 0.05, seed};
      oscillators[1] = {&SineTable(), hertz * 2.0, 0.025 * style.padLevel, 0.0, 3.0, 0.06, seed + 1.0};
      return std::make_unique<SustainedVoice>(event, 2, oscillators, 5.0, 5.0, 0.15, 0.0, 0.0, true);
    case Instrument::Shimmer:
      oscillators[0] = {
          &SineTable(), hertz * std::pow(2.0, -5.0 / 1200.0), 0.05, std::clamp(event.pan - 0.3, -1.0, 1.0), 5.0, 0.09,
          seed};
      oscillators[1] = {
          &SineTable(), hertz * std::pow(2.0, 5.0 / 1200.0), 0.05, std::clamp(event.pan + 0.3, -1.0, 1.0), 5.0, 0.11,
          seed + 3.0};
      return std::make_unique<SustainedVoice>(event, 2, oscillators, 5.0, 5.0, 0.7, 0.3,
                                              0.17 + 0.05 * std::fmod(seed, 1.0), false);
    case Instrument::Glass: return std::make_unique<GlassVoice>(event, style);
    case Instrument::Harp: return std::make_unique<HarpVoice>(event, style);
  }
  return nullptr;
}

}  // namespace musicgen
