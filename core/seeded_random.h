// Reproducible random numbers: SEEDED_RANDOM, whose sequence follows from a
// seed so a whole screen follows from three seeds.
#pragma once

#include <cstdint>

class SEEDED_RANDOM {
 public:
  // n < 0 seeds with -n and returns n; n == 0 returns the state unchanged;
  // n > 0 returns state mod (n + 1), i.e. 0..n inclusive, then advances.
  int32_t drawSmall(int32_t n) { return Step(n, 100019); }
  int32_t drawLarge(int32_t n) { return Step(n, 1000000021); }

  int32_t State() const { return state_; }
  void Reset() { state_ = 0; }

 private:
  int32_t Step(int32_t n, int32_t modulus);
  int32_t state_ = 0;
};

// The three generators that shape every screen, drawn from in a fixed order.
extern SEEDED_RANDOM structureRandom;
extern SEEDED_RANDOM colourRandom;
extern SEEDED_RANDOM paramRandom;
