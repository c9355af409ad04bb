// The three pieces. MoonGarden: D major with a lydian touch, slow pads and
// glass bells. Kalliope: A minor, harp arpeggios. Mercury: E flat, airy
// shimmer with sparse chimes and long echoes.
#include "tools/musicgen/pieces.h"

namespace musicgen {

// Each piece gives only what differs from the defaults in pieces.h, one line
// per concern: timing, chords, melody, bells, pad, echoes and room. The table
// is laid out by hand so that the pieces can be compared line by line.
const std::vector<PieceStyle>& Pieces() {
  // clang-format off
  static const std::vector<PieceStyle> pieces = {
      {.name = "MoonGarden", .durationSeconds = 196.0, .seed = 0x4D6F6F6E, .beatsPerMinute = 60.0, .beatsPerChord = 12,
       .chords = {
           {{50, 57, 61, 64, 66}, 38},  // D maj9
           {{55, 59, 62, 66, 73}, 43},  // G maj7 #11
           {{54, 57, 59, 61, 62}, 47},  // B m9
           {{52, 57, 59, 64, 69}, 45},  // A sus2
       },
       .scale = {2, 4, 6, 9, 11},  // D major pentatonic
       .melodyLow = 74, .melodyHigh = 88, .lead = Lead::Glass,
       .fmRatio = 3.5, .fmIndex = 0.9, .bellDecaySeconds = 2.8,
       .padCutoffHertz = 1100.0, .padSweepSeconds = 48.0,
       .delayLeftSeconds = 0.75, .delayRightSeconds = 1.125, .delayFeedback = 0.42,
       .reverbSeconds = 5.5, .reverbMix = 0.42},
      {.name = "Kalliope", .durationSeconds = 182.0, .seed = 0x4B616C6C, .beatsPerMinute = 76.0, .beatsPerChord = 8,
       .chords = {
           {{57, 60, 64, 67, 71}, 45},  // A m9
           {{53, 57, 60, 64, 69}, 41},  // F maj7
           {{55, 60, 64, 67, 71}, 43},  // C maj7 over G
           {{52, 55, 59, 62, 67}, 40},  // E m7
       },
       .scale = {9, 0, 2, 4, 7},  // A minor pentatonic
       .melodyLow = 69, .melodyHigh = 81, .lead = Lead::Harp,
       .fmRatio = 2.0, .fmIndex = 0.6, .bellDecaySeconds = 2.2,
       .padLevel = 0.8, .padCutoffHertz = 850.0, .padSweepSeconds = 36.0,
       .delayLeftSeconds = 60.0 / 76.0 * 0.75, .delayRightSeconds = 60.0 / 76.0 * 1.5, .delayFeedback = 0.35,
       .reverbSeconds = 4.2, .reverbMix = 0.36},
      {.name = "Mercury", .durationSeconds = 212.0, .seed = 0x4D657263, .beatsPerMinute = 54.0, .beatsPerChord = 12,
       .chords = {
           {{51, 58, 62, 65, 67}, 39},  // E flat maj7 add 9
           {{48, 55, 58, 62, 63}, 36},  // C m9
           {{56, 60, 63, 67, 74}, 44},  // A flat maj7 #11
           {{53, 58, 60, 65, 70}, 46},  // B flat sus2
       },
       .scale = {3, 5, 7, 10, 0},  // E flat major pentatonic
       .melodyLow = 79, .melodyHigh = 94, .lead = Lead::Drops,
       .fmRatio = 2.0, .fmIndex = 0.6, .bellDecaySeconds = 3.2,
       .leadLevel = 0.8, .shimmerLevel = 0.35, .padCutoffHertz = 1300.0, .padSweepSeconds = 56.0,
       .delayLeftSeconds = 60.0 / 54.0 * 0.75, .delayRightSeconds = 60.0 / 54.0 * 1.0, .delayFeedback = 0.5,
       .reverbSeconds = 6.5, .reverbMix = 0.48},
  };
  // clang-format on
  return pieces;
}

const PieceStyle* FindPiece(const std::string& name) {
  for (const PieceStyle& piece : Pieces())
    if (piece.name == name) return &piece;
  return nullptr;
}

}  // namespace musicgen
