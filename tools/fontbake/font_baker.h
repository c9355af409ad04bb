// Bakes a TrueType font at one pixel size into a glyph bitmap (white with
// coverage in alpha) and a ".fnt" description naming each byte's rectangle,
// for the viewer's bitmap font. Bytes are read as Windows-1250 text.
#pragma once

#include <string>
#include <vector>

#include "tools/common/png_file.h"

namespace fontbake {

struct BakeOptions {
  std::string fontPath;    // TrueType file
  int pixelSize = 0;       // em size in pixels
  std::string bitmapName;  // file name written on the "Bitmap" line, e.g. "font.png"
};

struct GlyphBox {
  int code = 0;  // byte value 0..255
  int x = 0, y = 0, width = 0, height = 0;
  int pre = 0, post = 0;
};

struct BakedFont {
  tools::RgbaImage bitmap;
  std::vector<GlyphBox> glyphs;  // ascending byte values
  int lineHeight = 0;            // height of every glyph rectangle
  std::string description;       // the ".fnt" text
};

// Transparent pixels kept between neighbouring glyph rectangles, so linear
// filtering at one glyph's edge never picks up ink of another.
constexpr int kGlyphGap = 2;

// Unicode code point of a Windows-1250 byte, 0 where the code page has none.
unsigned Cp1250ToUnicode(int byte);

// False with a reason when FreeType cannot open the font or the pixel size
// is out of range (6..200). Output is deterministic for a given font file.
bool BakeFont(const BakeOptions& options, BakedFont& baked, std::string& error);

}  // namespace fontbake
