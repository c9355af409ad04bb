// The frame-rate line a screensaver shows in its corner ("FPS: 49.9"), as
// filled rectangles of a 3 by 5 block font, so that it needs no font file.
// Plain arithmetic; no SDL.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct BlockRect {
  int x, y, width, height;
};

// The text shown for a measured rate: "FPS: " and the rate with one decimal.
std::string FrameRateText(double framesPerSecond);

// The blocks that draw text with its top left corner at x, y, each font
// pixel a square of blockSize. Characters other than digits, '.', ':', ' ',
// 'F', 'P' and 'S' take their place as a space.
std::vector<BlockRect> TextBlocks(std::string_view text, int x, int y, int blockSize);

// Height of a line of text in pixels for the given block size.
constexpr int TextHeight(int blockSize) { return 5 * blockSize; }
