// randomBelow over std::rand, so that one seed at start-up fixes every draw.
#include "core/random_below.h"

#include <cstdlib>

void seedRandomBelow(uint32_t seed) { std::srand(seed); }

int32_t randomBelow(int32_t n) {
  if (n <= 0) return 0;
  return std::rand() % n;
}
