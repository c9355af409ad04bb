// The screensaver's frame-rate line: its text and the blocks that draw it.
#include "engine/sdl/frame_rate_text.h"

#include <gtest/gtest.h>

namespace {

TEST(FrameRateText, ShowsOneDecimal) {
  EXPECT_EQ(FrameRateText(49.96), "FPS: 50.0");
  EXPECT_EQ(FrameRateText(33.333), "FPS: 33.3");
  EXPECT_EQ(FrameRateText(0), "FPS: 0.0");
}

TEST(FrameRateText, BlocksFollowTheGlyphsAndAdvanceFourBlocksPerCharacter) {
  // "1" is 1+2+1+1+3 blocks; the unknown "?" only moves on; "." is one block.
  const std::vector<BlockRect> blocks = TextBlocks("1?.", 10, 20, 3);
  ASSERT_EQ(blocks.size(), 9u);
  EXPECT_EQ(blocks[0].x, 13);  // the top of "1" is its middle column
  EXPECT_EQ(blocks[0].y, 20);
  EXPECT_EQ(blocks[0].width, 3);
  const BlockRect dot = blocks.back();
  EXPECT_EQ(dot.x, 10 + 2 * 4 * 3 + 3);  // two characters on, middle column
  EXPECT_EQ(dot.y, 20 + 4 * 3);          // bottom row
  for (const BlockRect& block : blocks) EXPECT_LT(block.y, 20 + TextHeight(3));
}

}  // namespace
