// The block font: each glyph five rows of three bits, the high bit leftmost.
#include "engine/sdl/frame_rate_text.h"

#include <cstdio>

namespace {

struct Glyph {
  char character;
  unsigned char rows[5];
};

constexpr Glyph kGlyphs[] = {
    {'0', {7, 5, 5, 5, 7}}, {'1', {2, 6, 2, 2, 7}}, {'2', {7, 1, 7, 4, 7}}, {'3', {7, 1, 7, 1, 7}},
    {'4', {5, 5, 7, 1, 1}}, {'5', {7, 4, 7, 1, 7}}, {'6', {7, 4, 7, 5, 7}}, {'7', {7, 1, 1, 1, 1}},
    {'8', {7, 5, 7, 5, 7}}, {'9', {7, 5, 7, 1, 7}}, {'.', {0, 0, 0, 0, 2}}, {':', {0, 2, 0, 2, 0}},
    {'F', {7, 4, 6, 4, 4}}, {'P', {6, 5, 6, 4, 4}}, {'S', {7, 4, 7, 1, 7}},
};

// A glyph is three blocks wide with one block of space after it.
constexpr int kAdvance = 4;

}  // namespace

std::string FrameRateText(double framesPerSecond) {
  char text[32];
  std::snprintf(text, sizeof text, "FPS: %.1f", framesPerSecond);
  return text;
}

std::vector<BlockRect> TextBlocks(std::string_view text, int x, int y, int blockSize) {
  std::vector<BlockRect> blocks;
  for (char character : text) {
    for (const Glyph& glyph : kGlyphs) {
      if (glyph.character != character) continue;
      for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 3; ++column)
          if (glyph.rows[row] & (4 >> column))
            blocks.push_back({x + column * blockSize, y + row * blockSize, blockSize, blockSize});
    }
    x += kAdvance * blockSize;
  }
  return blocks;
}
