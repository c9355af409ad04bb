// The instruments of the music generator, one voice per sounding note:
// sustained pads, drones and shimmer on wave tables, FM glass bells and
// additive harp plucks. Each adds its samples into the mix buses.
#pragma once

#include <cstdint>
#include <memory>

#include "tools/musicgen/pieces.h"
#include "tools/musicgen/score.h"

namespace musicgen {

// Block-sized mix buses the voices add into.
struct Buses {
  float* padLeft;
  float* padRight;
  float* leadLeft;
  float* leadRight;
  float* delaySend;
  float* reverbSend;
};

class Voice {
 public:
  virtual ~Voice() = default;
  // Adds frames samples starting at the absolute sample blockStart; false
  // once the voice has fallen silent for good.
  virtual bool Render(const Buses& buses, int64_t blockStart, int frames) = 0;
};

std::unique_ptr<Voice> MakeVoice(const NoteEvent& event, const PieceStyle& style);

}  // namespace musicgen
