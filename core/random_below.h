// randomBelow: whole random numbers from the standard library's generator,
// the one source behind the seeds of a new screen, the music's choice of
// track, the evaluator's "rnd" and the scene's random frame delays.
#pragma once

#include <cstdint>

// Seeds the standard library's generator (once, at start-up).
void seedRandomBelow(uint32_t seed);
// 0..n-1 from the standard library's generator; 0 when n <= 0, without drawing.
int32_t randomBelow(int32_t n);
