// The evaluator's random source behind "rnd": one process-wide function pointer.
#include "calc/random_source.h"

#include "core/random_below.h"

namespace {
RandomBelowFunction installedRandomBelow = &randomBelow;
}

RandomBelowFunction SetCalcRandomBelow(RandomBelowFunction function) {
  RandomBelowFunction previous = installedRandomBelow;
  installedRandomBelow = function != nullptr ? function : &randomBelow;
  return previous;
}

int CalcRandomBelow(int n) { return installedRandomBelow(n); }
