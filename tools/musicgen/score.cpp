// Score writing: chords at a steady pace, and over them motifs that are
// invented once per piece and then repeated with small variations, so the
// music has recognisable phrases rather than random notes.
#include "tools/musicgen/score.h"

#include <algorithm>
#include <cmath>

#include "tools/common/random.h"
#include "tools/musicgen/dsp.h"

namespace musicgen {
namespace {

struct MotifNote {
  int step;      // scale steps from the previous note
  double beats;  // time to the next note
};
using Motif = std::vector<MotifNote>;

Motif InventMotif(tools::SplitMix& random) {
  static constexpr int kSteps[] = {-2, -1, -1, 1, 1, 2, 0, 3, -3};
  static constexpr double kBeats[] = {1.0, 1.0, 2.0, 0.5, 1.5, 3.0};
  Motif motif;
  const int length = 3 + random.Below(4);
  for (int i = 0; i < length; ++i) {
    const int step = i == 0 ? 0 : kSteps[random.Below(9)];
    motif.push_back({step, kBeats[random.Below(6)]});
  }
  motif.back().beats = std::max(motif.back().beats, 2.0);
  return motif;
}

// The notes of the scale within [low, high], ascending.
std::vector<int> ScaleLadder(const std::vector<int>& scale, int low, int high) {
  std::vector<int> ladder;
  for (int note = low; note <= high; ++note)
    if (std::find(scale.begin(), scale.end(), note % 12) != scale.end()) ladder.push_back(note);
  return ladder;
}

int Reflect(int index, int size) {
  if (size <= 1) return 0;
  const int period = 2 * (size - 1);
  index %= period;
  if (index < 0) index += period;
  return index < size ? index : period - index;
}

// How busy the lead is at time t: silent during the opening, full in the
// middle with a gentle dip, thinning out before the close.
double Intensity(double t, double duration) {
  const double open = std::min(10.0, 0.08 * duration);
  const double close = duration - std::min(18.0, 0.12 * duration);
  if (t < open || t > close) return 0.0;
  const double rise = SmoothRamp((t - open) / std::max(1.0, 0.15 * duration));
  const double fall = SmoothRamp((close - t) / std::max(1.0, 0.1 * duration));
  const double dip = 1.0 - 0.35 * std::exp(-std::pow((t / duration - 0.62) / 0.08, 2.0));
  return rise * fall * dip;
}

}  // namespace

std::vector<NoteEvent> WriteScore(const PieceStyle& style, double durationSeconds) {
  tools::SplitMix random(style.seed);
  std::vector<NoteEvent> events;
  const double beat = 60.0 / style.beatsPerMinute;
  const double chordSeconds = beat * style.beatsPerChord;
  const auto chordAt = [&](double t) -> const Chord& {
    const auto index = static_cast<size_t>(std::max(0.0, std::floor(t / chordSeconds)));
    return style.chords[index % style.chords.size()];
  };

  // Pads and drones: each chord holds a little past the next one's start so
  // the slow attack of one and the release of the other overlap.
  // Each pass through the progression picks one of a few voicings (as
  // written, top note an octave up, or an inner note lifted an octave), so
  // the harmony keeps its shape but the colour slowly changes.
  int voicing = 0;
  for (int i = 0; i * chordSeconds < durationSeconds; ++i) {
    if (i % static_cast<int>(style.chords.size()) == 0) voicing = i == 0 ? 0 : random.Below(3);
    const Chord& chord = style.chords[static_cast<size_t>(i) % style.chords.size()];
    std::vector<int> notes = chord.pad;
    if (voicing == 1 && !notes.empty()) notes.back() += 12;
    if (voicing == 2 && notes.size() > 2) notes[1] += 12;
    const double start = i * chordSeconds;
    const double length = chordSeconds + 1.0;
    for (size_t n = 0; n < notes.size(); ++n) {
      const double pan = notes.size() > 1 ? -0.6 + 1.2 * static_cast<double>(n) / (notes.size() - 1) : 0.0;
      events.push_back(
          {Instrument::Pad, start, length, static_cast<double>(notes[n]), 0.8 + 0.2 * random.Uniform(), pan});
      if (style.shimmerLevel > 0.0 && n % 2 == 1)
        events.push_back({Instrument::Shimmer, start + 0.5, length, notes[n] + 12.0, style.shimmerLevel, -pan});
    }
    events.push_back({Instrument::Drone, start, length, static_cast<double>(chord.bass), 1.0, 0.0});
  }

  const std::vector<int> ladder = ScaleLadder(style.scale, style.melodyLow, style.melodyHigh);
  const std::vector<Motif> motifs = {InventMotif(random), InventMotif(random)};
  const auto jitter = [&] { return random.Range(-0.012, 0.012); };

  // Glass motifs (all pieces but Mercury's drops; sparser under the harp).
  if (style.lead != Lead::Drops) {
    const double chance = style.lead == Lead::Harp ? 0.4 : 0.85;
    const int octaveUp = style.lead == Lead::Harp ? 12 : 0;
    int degree = static_cast<int>(ladder.size()) / 2;
    double t = std::min(10.0, 0.08 * durationSeconds);
    while (t < durationSeconds) {
      const double intensity = Intensity(t, durationSeconds);
      if (intensity > 0.0 && random.Uniform() < chance * intensity) {
        Motif motif = motifs[random.Uniform() < 0.6 ? 0 : 1];
        if (random.Uniform() < 0.3)
          motif[static_cast<size_t>(random.Below(static_cast<int>(motif.size())))].step += random.Below(2) ? 1 : -1;
        // Start on the chord tone of the scale nearest to where the last phrase ended.
        const Chord& chord = chordAt(t);
        int best = degree, bestDistance = 1000;
        for (int d = 0; d < static_cast<int>(ladder.size()); ++d) {
          const bool chordTone = std::any_of(chord.pad.begin(), chord.pad.end(), [&](int note) {
            return note % 12 == ladder[static_cast<size_t>(d)] % 12;
          });
          if (chordTone && std::abs(d - degree) < bestDistance) {
            best = d;
            bestDistance = std::abs(d - degree);
          }
        }
        degree = best;
        double noteTime = t;
        for (size_t k = 0; k < motif.size(); ++k) {
          degree = Reflect(degree + motif[k].step, static_cast<int>(ladder.size()));
          const double note = ladder[static_cast<size_t>(degree)] + octaveUp;
          const double velocity = (k == 0 ? 0.7 : 0.5) + 0.2 * random.Uniform();
          const double pan = random.Range(-0.6, 0.6);
          events.push_back({Instrument::Glass, noteTime + jitter(), 1.0, note, velocity * intensity, pan});
          if (random.Uniform() < 0.18) {
            const int below = Reflect(degree - 2, static_cast<int>(ladder.size()));
            events.push_back({Instrument::Glass, noteTime + 0.03, 1.0,
                              ladder[static_cast<size_t>(below)] + octaveUp + 0.0, 0.6 * velocity * intensity, -pan});
          }
          noteTime += motif[k].beats * beat;
        }
        static constexpr double kRests[] = {2.0, 3.0, 4.0, 6.0};
        t = noteTime + kRests[random.Below(4)] * beat * (1.6 - intensity);
      } else {
        t += 4.0 * beat;
      }
    }
  }

  // Harp arpeggios in eighths over the chord tones, two patterns alternating.
  if (style.lead == Lead::Harp) {
    std::vector<std::vector<int>> patterns(2);
    for (auto& pattern : patterns) {
      int position = random.Below(3);
      for (int step = 0; step < 16; ++step) {
        pattern.push_back(position);
        position += step < 8 ? 1 + random.Below(2) : -1 - random.Below(2);
        position = std::clamp(position, 0, 9);
      }
    }
    const int steps = static_cast<int>(durationSeconds / (beat * 0.5));
    for (int step = 0; step < steps; ++step) {
      const double t = step * beat * 0.5;
      const double intensity = Intensity(t, durationSeconds);
      if (intensity <= 0.0) continue;
      const int chordIndex = static_cast<int>(t / chordSeconds);
      const int within = step % 16;
      const bool breathe = chordIndex % 2 == 1 && within >= 12;
      if (breathe || random.Uniform() > 0.45 + 0.4 * intensity) continue;
      const Chord& chord = chordAt(t);
      std::vector<int> tones = chord.pad;
      for (int note : chord.pad) tones.push_back(note + 12);
      std::sort(tones.begin(), tones.end());
      const int index = patterns[static_cast<size_t>(chordIndex % 2)][static_cast<size_t>(within)];
      const int note = tones[static_cast<size_t>(std::min(index, static_cast<int>(tones.size()) - 1))];
      const double accent = within % 2 == 0 ? 1.0 : 0.8;
      const double pan = std::clamp((note - 66) / 18.0, -0.6, 0.6);
      events.push_back({Instrument::Harp, t + jitter(), 1.0, static_cast<double>(note),
                        (0.42 + 0.18 * random.Uniform()) * accent * (0.5 + 0.5 * intensity), pan});
    }
  }

  // Drops: single high chimes, now and then a pair, wandering by small steps.
  if (style.lead == Lead::Drops) {
    int degree = static_cast<int>(ladder.size()) / 2;
    double t = std::min(10.0, 0.08 * durationSeconds);
    while (t < durationSeconds) {
      const double intensity = Intensity(t, durationSeconds);
      if (intensity > 0.0 && random.Uniform() < 0.35 + 0.5 * intensity) {
        degree = Reflect(degree + random.Below(5) - 2, static_cast<int>(ladder.size()));
        const double velocity = (0.35 + 0.3 * random.Uniform()) * (0.4 + 0.6 * intensity);
        events.push_back({Instrument::Glass, t + jitter(), 1.0,
                          static_cast<double>(ladder[static_cast<size_t>(degree)]), velocity, random.Range(-0.8, 0.8)});
        if (random.Uniform() < 0.25) {
          const int next = Reflect(degree + (random.Below(2) ? 2 : -2), static_cast<int>(ladder.size()));
          events.push_back({Instrument::Glass, t + beat * 0.5, 1.0,
                            static_cast<double>(ladder[static_cast<size_t>(next)]), 0.7 * velocity,
                            random.Range(-0.8, 0.8)});
        }
      }
      static constexpr double kGaps[] = {1.0, 1.5, 2.0, 2.0, 3.0, 4.0};
      t += kGaps[random.Below(6)] * beat;
    }
  }

  std::stable_sort(events.begin(), events.end(),
                   [](const NoteEvent& a, const NoteEvent& b) { return a.startSeconds < b.startSeconds; });
  // A jittered first note must not start before the track does.
  for (NoteEvent& event : events) event.startSeconds = std::max(0.0, event.startSeconds);
  return events;
}

}  // namespace musicgen
