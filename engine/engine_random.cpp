// EngineRandom::Float: xorshift32 scaled to the requested range.
#include "engine/engine_random.h"

float EngineRandom::Float(float min, float max) {
  // xorshift32: fast, full period over the non-zero states, identical everywhere.
  if (state_ == 0) state_ = 0x2F6B1D3Au;
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  float unit = static_cast<float>(state_ >> 8) * (1.0f / 16777215.0f);  // 24 bits: exact in a float
  return min + (max - min) * unit;
}
