// RoundValue (calc/value_text.h) of a whole array at once, for the column
// runner. Standard library only.
#pragma once

#include <cstddef>

// RoundValue of each of count values, in place. The common case runs as one
// branch-free loop over the whole array (the compiler may vectorise it);
// values it cannot settle exactly go through RoundValue.
void RoundValues(double* values, std::size_t count);
