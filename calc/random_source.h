// The evaluator's random source: where "rnd" takes its random integers from,
// the program's randomBelow (core/random_below.h) unless another source is
// installed, as tests do.
#pragma once

// A function returning an integer from 0 to n-1, and 0 when n is 0.
using RandomBelowFunction = int (*)(int n);

// Installs the function "rnd" draws from (nullptr restores randomBelow) and
// returns the one installed before. Shared by every CALC in the process.
RandomBelowFunction SetCalcRandomBelow(RandomBelowFunction function);
// Draws through the installed function.
int CalcRandomBelow(int n);
