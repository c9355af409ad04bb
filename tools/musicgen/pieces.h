// The three ambient pieces: harmony, lead instrument, tempo, effects and
// length of each, as data for the score writer and the renderer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace musicgen {

enum class Lead {
  Glass,  // soft FM glass bells playing motifs
  Harp,   // plucked arpeggios over the chords, glass motifs now and then
  Drops,  // sparse high chimes with long echoes over a shimmering pad
};

struct Chord {
  std::vector<int> pad;  // MIDI notes of the pad voicing
  int bass = 0;          // MIDI note of the low drone
};

struct PieceStyle {
  std::string name;              // track name, e.g. "MoonGarden"
  double durationSeconds = 0.0;  // full length
  uint64_t seed = 0;
  double beatsPerMinute = 60.0;
  int beatsPerChord = 12;
  std::vector<Chord> chords;            // played in turn, looping
  std::vector<int> scale;               // pitch classes 0..11 the melodies use
  int melodyLow = 72, melodyHigh = 88;  // MIDI range of the motifs
  Lead lead = Lead::Glass;
  double fmRatio = 3.5;  // glass bell modulator ratio
  double fmIndex = 1.0;  // glass bell brightness at A4
  double bellDecaySeconds = 2.5;
  double padLevel = 1.0, leadLevel = 1.0, shimmerLevel = 0.0;
  double padCutoffHertz = 1000.0;  // centre of the slow filter sweep
  double padSweepSeconds = 40.0;   // period of the sweep
  double delayLeftSeconds = 0.5, delayRightSeconds = 0.75, delayFeedback = 0.4;
  double reverbSeconds = 5.0;  // decay time to -60 dB
  double reverbMix = 0.4;
};

const std::vector<PieceStyle>& Pieces();

// The piece with this name, or nullptr.
const PieceStyle* FindPiece(const std::string& name);

}  // namespace musicgen
