// Renders a piece to stereo samples: score, voices, pad filter sweep, echo,
// reverb, a gentle top-end roll-off, fades, and peak normalisation.
#pragma once

#include <vector>

#include "tools/musicgen/pieces.h"

namespace musicgen {

struct StereoPcm {
  int sampleRate = 44100;
  std::vector<float> left, right;  // -1..1
};

// Peak level the finished track is scaled to (about -1.4 dBFS), leaving
// headroom for the encoder's own overshoot.
constexpr double kPeakLevel = 0.85;

// Renders durationSeconds of the piece (the full piece uses its own
// durationSeconds; tests pass shorter ones). Deterministic.
StereoPcm RenderPiece(const PieceStyle& style, double durationSeconds);

}  // namespace musicgen
