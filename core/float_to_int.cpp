// truncateToInt32: a float cut toward zero, held inside the int32 range.
#include "core/float_to_int.h"

#include <cmath>
#include <limits>

int32_t truncateToInt32(float value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483648.0f) return std::numeric_limits<int32_t>::max();
  if (value <= -2147483648.0f) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}
