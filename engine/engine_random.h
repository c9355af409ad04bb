// The engine's own random floats: a small seeded generator shared by every
// engine implementation, so that headless and windowed runs draw alike.
#pragma once

#include <cstdint>

class EngineRandom {
 public:
  explicit EngineRandom(uint32_t seed = 0x2F6B1D3Au) : state_(seed) {}
  void Seed(uint32_t seed) { state_ = seed; }
  // A float in [min, max] (the bounds in either order).
  float Float(float min, float max);

 private:
  uint32_t state_;
};
