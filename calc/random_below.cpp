// The random-integer source behind "rnd": one process-wide function pointer.
#include "calc/random_below.h"

#include <cstdlib>

namespace {
RandomBelowFunction installedRandomBelow = &DefaultCalcRandomBelow;
}

int DefaultCalcRandomBelow(int n) {
  if (n == 0) return 0;
  return std::rand() % n;
}

RandomBelowFunction SetCalcRandomBelow(RandomBelowFunction function) {
  RandomBelowFunction previous = installedRandomBelow;
  installedRandomBelow = function != nullptr ? function : &DefaultCalcRandomBelow;
  return previous;
}

int CalcRandomBelow(int n) { return installedRandomBelow(n); }
