// The three pieces. MoonGarden: D major with a lydian touch, slow pads and
// glass bells. Kalliope: A minor, harp arpeggios. Mercury: E flat, airy
// shimmer with sparse chimes and long echoes.
#include "tools/musicgen/pieces.h"

namespace musicgen {

const std::vector<PieceStyle>& Pieces() {
  static const std::vector<PieceStyle> pieces = [] {
    std::vector<PieceStyle> list;

    PieceStyle moon;
    moon.name = "MoonGarden";
    moon.durationSeconds = 196.0;
    moon.seed = 0x4D6F6F6E;
    moon.beatsPerMinute = 60.0;
    moon.beatsPerChord = 12;
    moon.chords = {
        {{50, 57, 61, 64, 66}, 38},  // D maj9
        {{55, 59, 62, 66, 73}, 43},  // G maj7 #11
        {{54, 57, 59, 61, 62}, 47},  // B m9
        {{52, 57, 59, 64, 69}, 45},  // A sus2
    };
    moon.scale = {2, 4, 6, 9, 11};  // D major pentatonic
    moon.melodyLow = 74;
    moon.melodyHigh = 88;
    moon.lead = Lead::Glass;
    moon.fmRatio = 3.5;
    moon.fmIndex = 0.9;
    moon.bellDecaySeconds = 2.8;
    moon.padCutoffHertz = 1100.0;
    moon.padSweepSeconds = 48.0;
    moon.delayLeftSeconds = 0.75;
    moon.delayRightSeconds = 1.125;
    moon.delayFeedback = 0.42;
    moon.reverbSeconds = 5.5;
    moon.reverbMix = 0.42;
    list.push_back(moon);

    PieceStyle kalliope;
    kalliope.name = "Kalliope";
    kalliope.durationSeconds = 182.0;
    kalliope.seed = 0x4B616C6C;
    kalliope.beatsPerMinute = 76.0;
    kalliope.beatsPerChord = 8;
    kalliope.chords = {
        {{57, 60, 64, 67, 71}, 45},  // A m9
        {{53, 57, 60, 64, 69}, 41},  // F maj7
        {{55, 60, 64, 67, 71}, 43},  // C maj7 over G
        {{52, 55, 59, 62, 67}, 40},  // E m7
    };
    kalliope.scale = {9, 0, 2, 4, 7};  // A minor pentatonic
    kalliope.melodyLow = 69;
    kalliope.melodyHigh = 81;
    kalliope.lead = Lead::Harp;
    kalliope.fmRatio = 2.0;
    kalliope.fmIndex = 0.6;
    kalliope.bellDecaySeconds = 2.2;
    kalliope.padLevel = 0.8;
    kalliope.padCutoffHertz = 850.0;
    kalliope.padSweepSeconds = 36.0;
    kalliope.delayLeftSeconds = 60.0 / 76.0 * 0.75;
    kalliope.delayRightSeconds = 60.0 / 76.0 * 1.5;
    kalliope.delayFeedback = 0.35;
    kalliope.reverbSeconds = 4.2;
    kalliope.reverbMix = 0.36;
    list.push_back(kalliope);

    PieceStyle mercury;
    mercury.name = "Mercury";
    mercury.durationSeconds = 212.0;
    mercury.seed = 0x4D657263;
    mercury.beatsPerMinute = 54.0;
    mercury.beatsPerChord = 12;
    mercury.chords = {
        {{51, 58, 62, 65, 67}, 39},  // E flat maj7 add 9
        {{48, 55, 58, 62, 63}, 36},  // C m9
        {{56, 60, 63, 67, 74}, 44},  // A flat maj7 #11
        {{53, 58, 60, 65, 70}, 46},  // B flat sus2
    };
    mercury.scale = {3, 5, 7, 10, 0};  // E flat major pentatonic
    mercury.melodyLow = 79;
    mercury.melodyHigh = 94;
    mercury.lead = Lead::Drops;
    mercury.fmRatio = 2.0;
    mercury.fmIndex = 0.6;
    mercury.bellDecaySeconds = 3.2;
    mercury.leadLevel = 0.8;
    mercury.shimmerLevel = 0.35;
    mercury.padCutoffHertz = 1300.0;
    mercury.padSweepSeconds = 56.0;
    mercury.delayLeftSeconds = 60.0 / 54.0 * 0.75;
    mercury.delayRightSeconds = 60.0 / 54.0 * 1.0;
    mercury.delayFeedback = 0.5;
    mercury.reverbSeconds = 6.5;
    mercury.reverbMix = 0.48;
    list.push_back(mercury);
    return list;
  }();
  return pieces;
}

const PieceStyle* FindPiece(const std::string& name) {
  for (const PieceStyle& piece : Pieces())
    if (piece.name == name) return &piece;
  return nullptr;
}

}  // namespace musicgen
