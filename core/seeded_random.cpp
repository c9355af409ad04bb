// The three screen generators and the seeded step they share.
#include "core/seeded_random.h"

SEEDED_RANDOM structureRandom;
SEEDED_RANDOM colourRandom;
SEEDED_RANDOM paramRandom;

int32_t SEEDED_RANDOM::Step(int32_t n, int32_t modulus) {
  if (n < 0) {
    // -INT32_MIN does not fit; such a seed keeps the largest state instead.
    state_ = n == INT32_MIN ? INT32_MAX : -n;
    return n;
  }
  if (n == 0) return state_;
  // state_ can be negative only before the first step from a negative
  // state, which seeding never produces; take the mathematical residue anyway.
  int64_t residue = static_cast<int64_t>(state_) % (static_cast<int64_t>(n) + 1);
  if (residue < 0) residue += static_cast<int64_t>(n) + 1;
  // The product wraps as a 32-bit multiplication; its magnitude is then taken
  // in 64 bits so that the wrapped value -2^31 stays positive.
  int32_t wrapped = static_cast<int32_t>(static_cast<uint32_t>(state_) * 2879u);
  int64_t magnitude = wrapped < 0 ? -static_cast<int64_t>(wrapped) : wrapped;
  state_ = static_cast<int32_t>(magnitude % modulus + 1);
  return static_cast<int32_t>(residue);
}
