// Tests of the saturating float-to-int32 conversion.
#include "core/float_to_int.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(FloatToInt, TruncationClampsWhatDoesNotFit) {
  EXPECT_EQ(truncateToInt32(2.9f), 2);
  EXPECT_EQ(truncateToInt32(-2.9f), -2);
  EXPECT_EQ(truncateToInt32(3e9f), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(truncateToInt32(-3e9f), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(truncateToInt32(std::numeric_limits<float>::infinity()), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(truncateToInt32(std::numeric_limits<float>::quiet_NaN()), 0);
}

}  // namespace
