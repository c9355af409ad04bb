// Font baking with FreeType: glyphs rendered with light hinting, packed in
// shelves into a power-of-two bitmap, and described one "Char" line each.
#include "tools/fontbake/font_baker.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

namespace fontbake {
namespace {

// Windows-1250 bytes 0x80..0xFF; 0 marks the five bytes the code page leaves unassigned.
constexpr std::array<unsigned, 128> kCp1250High = {
    0x20AC, 0x0000, 0x201A, 0x0000, 0x201E, 0x2026, 0x2020, 0x2021, 0x0000, 0x2030, 0x0160, 0x2039, 0x015A,
    0x0164, 0x017D, 0x0179, 0x0000, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x0000, 0x2122,
    0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6,
    0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B, 0x00B0, 0x00B1, 0x02DB, 0x0142,
    0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C, 0x0154,
    0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7, 0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD,
    0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA,
    0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF, 0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4,
    0x0151, 0x00F6, 0x00F7, 0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
using LibraryHandle = std::unique_ptr<std::remove_pointer_t<FT_Library>, LibraryDeleter>;
using FaceHandle = std::unique_ptr<std::remove_pointer_t<FT_Face>, FaceDeleter>;

// One rendered glyph before packing.
struct Rendered {
  int code = 0;
  int left = 0, top = 0;  // bitmap offset from the pen position (top is upwards)
  int advance = 0;
  int width = 0, rows = 0;
  std::vector<uint8_t> coverage;
};

bool IsPlainName(int code) {
  return (code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z') || (code >= 'a' && code <= 'z') || code == ' ';
}

int NextPowerOfTwo(int value) {
  int p = 1;
  while (p < value) p *= 2;
  return p;
}

// Packs boxes of the given widths (all of one height) into shelves of the
// given bitmap width; returns the used height or -1 when a box does not fit.
int PackShelves(const std::vector<int>& widths, int height, int bitmapWidth, std::vector<std::pair<int, int>>* places) {
  int x = kGlyphGap, y = kGlyphGap;
  for (int width : widths) {
    if (width + 2 * kGlyphGap > bitmapWidth) return -1;
    if (x + width + kGlyphGap > bitmapWidth) {
      x = kGlyphGap;
      y += height + kGlyphGap;
    }
    if (places) places->push_back({x, y});
    x += width + kGlyphGap;
  }
  return y + height + kGlyphGap;
}

}  // namespace

unsigned Cp1250ToUnicode(int byte) {
  if (byte < 0 || byte > 255) return 0;
  if (byte < 0x80) return byte >= 0x20 && byte < 0x7F ? static_cast<unsigned>(byte) : 0;
  return kCp1250High[byte - 0x80];
}

bool BakeFont(const BakeOptions& options, BakedFont& baked, std::string& error) {
  if (options.pixelSize < 6 || options.pixelSize > 200) {
    error = "pixel size out of range";
    return false;
  }
  FT_Library rawLibrary = nullptr;
  if (FT_Init_FreeType(&rawLibrary) != 0) {
    error = "FreeType did not start";
    return false;
  }
  LibraryHandle library(rawLibrary);
  FT_Face rawFace = nullptr;
  if (FT_New_Face(library.get(), options.fontPath.c_str(), 0, &rawFace) != 0) {
    error = "cannot open font " + options.fontPath;
    return false;
  }
  FaceHandle face(rawFace);
  if (FT_Set_Pixel_Sizes(face.get(), 0, static_cast<FT_UInt>(options.pixelSize)) != 0) {
    error = "font has no usable size";
    return false;
  }

  std::vector<Rendered> rendered;
  int ascent = static_cast<int>((face->size->metrics.ascender + 63) >> 6);
  int descent = static_cast<int>((-face->size->metrics.descender + 63) >> 6);
  for (int code = 0x20; code <= 0xFF; ++code) {
    const unsigned unicode = Cp1250ToUnicode(code);
    if (unicode == 0) continue;
    const FT_UInt index = FT_Get_Char_Index(face.get(), unicode);
    if (index == 0) continue;
    if (FT_Load_Glyph(face.get(), index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) continue;
    const FT_GlyphSlot slot = face->glyph;
    if (slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) continue;
    Rendered glyph;
    glyph.code = code;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    glyph.width = static_cast<int>(slot->bitmap.width);
    glyph.rows = static_cast<int>(slot->bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    for (int row = 0; row < glyph.rows; ++row) {
      const uint8_t* source = slot->bitmap.buffer + static_cast<ptrdiff_t>(row) * slot->bitmap.pitch;
      std::copy(source, source + glyph.width, glyph.coverage.begin() + static_cast<ptrdiff_t>(row) * glyph.width);
    }
    if (glyph.width > 0 && glyph.rows > 0) {
      ascent = std::max(ascent, glyph.top);
      descent = std::max(descent, glyph.rows - glyph.top);
    }
    rendered.push_back(std::move(glyph));
  }
  if (rendered.empty()) {
    error = "font has none of the wanted characters";
    return false;
  }

  // Every rectangle spans the whole line from the tallest accent to the
  // deepest descender; non-empty ones keep a transparent column inside on
  // either side, so a quad drawn at a fractional position never cuts ink.
  const int cellHeight = ascent + descent;
  std::vector<int> widths;
  for (const Rendered& glyph : rendered) widths.push_back(glyph.width > 0 ? glyph.width + 2 : 0);
  int bestWidth = 0, bestHeight = 0;
  for (int bitmapWidth = 64; bitmapWidth <= 4096; bitmapWidth *= 2) {
    const int used = PackShelves(widths, cellHeight, bitmapWidth, nullptr);
    if (used < 0) continue;
    const int height = NextPowerOfTwo(used);
    const long area = static_cast<long>(bitmapWidth) * height;
    const long bestArea = static_cast<long>(bestWidth) * bestHeight;
    if (bestWidth == 0 || area < bestArea ||
        (area == bestArea && std::max(bitmapWidth, height) < std::max(bestWidth, bestHeight))) {
      bestWidth = bitmapWidth;
      bestHeight = height;
    }
  }
  if (bestWidth == 0) {
    error = "glyphs do not fit a 4096-pixel bitmap";
    return false;
  }
  std::vector<std::pair<int, int>> places;
  PackShelves(widths, cellHeight, bestWidth, &places);

  baked.bitmap = tools::RgbaImage(bestWidth, bestHeight);
  for (size_t i = 0; i < baked.bitmap.pixels.size(); i += 4)
    baked.bitmap.pixels[i] = baked.bitmap.pixels[i + 1] = baked.bitmap.pixels[i + 2] = 255;
  baked.glyphs.clear();
  baked.lineHeight = cellHeight;
  std::string text = "[HGEFONT]\r\nBitmap=" + options.bitmapName + "\r\n\r\n";
  for (size_t i = 0; i < rendered.size(); ++i) {
    const Rendered& glyph = rendered[i];
    GlyphBox box;
    box.code = glyph.code;
    box.x = places[i].first;
    box.y = places[i].second;
    box.width = widths[i];
    box.height = cellHeight;
    if (glyph.width > 0) {
      box.pre = glyph.left - 1;
      box.post = glyph.advance - box.pre - box.width;
      const int originY = box.y + (ascent - glyph.top);
      for (int row = 0; row < glyph.rows; ++row)
        for (int column = 0; column < glyph.width; ++column)
          baked.bitmap.At(box.x + 1 + column, originY + row)[3] =
              glyph.coverage[static_cast<size_t>(row) * glyph.width + column];
    } else {
      box.pre = 0;
      box.post = glyph.advance;
    }
    baked.glyphs.push_back(box);
    char line[96];
    if (IsPlainName(glyph.code)) {
      std::snprintf(line, sizeof line, "Char=\"%c\",%d,%d,%d,%d,%d,%d\r\n", glyph.code, box.x, box.y, box.width,
                    box.height, box.pre, box.post);
    } else {
      std::snprintf(line, sizeof line, "Char=%02X,%d,%d,%d,%d,%d,%d\r\n", glyph.code, box.x, box.y, box.width,
                    box.height, box.pre, box.post);
    }
    text += line;
  }
  // The reader never acts on a description's last line, so the list of
  // characters is closed by a line of its own.
  text += "End\r\n";
  baked.description = std::move(text);
  return true;
}

}  // namespace fontbake
