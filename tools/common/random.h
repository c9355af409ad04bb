// A small deterministic random generator (SplitMix64) for the content
// generators: the same seed gives the same images and music on every machine.
#pragma once

#include <cstdint>
#include <string_view>

namespace tools {

class SplitMix {
 public:
  explicit SplitMix(uint64_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // Uniform in [0, 1).
  double Uniform() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  double Range(double low, double high) { return low + (high - low) * Uniform(); }
  // Uniform integer in [0, count); count must be positive.
  int Below(int count) { return static_cast<int>(Next() % static_cast<uint64_t>(count)); }

 private:
  uint64_t state_;
};

// FNV-1a hash of a text, used to derive per-item seeds from names.
inline uint64_t HashText(std::string_view text) {
  uint64_t hash = 0xCBF29CE484222325ull;
  for (char c : text) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 0x100000001B3ull;
  }
  return hash;
}

}  // namespace tools
