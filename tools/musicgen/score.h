// The score writer: turns a piece's style and a length into timed note
// events (pads, drones, shimmer, glass bells, harp plucks), deterministically
// from the piece's seed.
#pragma once

#include <vector>

#include "tools/musicgen/pieces.h"

namespace musicgen {

enum class Instrument { Pad, Drone, Shimmer, Glass, Harp };

struct NoteEvent {
  Instrument instrument = Instrument::Pad;
  double startSeconds = 0.0;
  double lengthSeconds = 0.0;  // until note off; sustained voices then release
  double midi = 60.0;
  double velocity = 0.5;  // 0..1
  double pan = 0.0;       // -1 left .. 1 right
};

// Events sorted by start time. The musical structure (quiet opening, fuller
// middle, thinning close) scales with durationSeconds, so a short render for
// tests has the same shape as the full track.
std::vector<NoteEvent> WriteScore(const PieceStyle& style, double durationSeconds);

}  // namespace musicgen
