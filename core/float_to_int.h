// Saturating conversion of a float to a 32-bit integer, for values that come
// from formulas or the mouse and may be anything. Standard library only.
#pragma once

#include <cstdint>

// value truncated toward zero to 32 bits; not-a-number gives 0 and values
// beyond the range give the nearest end.
int32_t truncateToInt32(float value);
