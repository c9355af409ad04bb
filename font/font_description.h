// The reader of bitmap-font descriptions (".fnt" text): a header line, then
// "Bitmap" and "Char" lines. Pure text processing, no engine.
#pragma once

#include <string>
#include <string_view>
#include <vector>

constexpr std::string_view kFontHeader = "[HGEFONT]";
// Longest line kept; the rest of a longer line is dropped.
constexpr size_t kFontLineLimit = 255;
// Longest texture path; a longer one counts as a texture that does not load.
constexpr size_t kFontPathLimit = 259;

// One line that acts, in description order.
struct FontDescriptionLine {
  enum class Kind { Bitmap, Char };
  Kind kind = Kind::Char;
  // Bitmap: the texture's resource name, empty when it would exceed kFontPathLimit.
  std::string texturePath;
  // Char: the byte value and the six numbers (rectangle in texels, advances).
  int code = 0;
  int x = 0, y = 0, w = 0, h = 0, pre = 0, post = 0;
};

struct FontDescription {
  bool validHeader = false;  // the first line is exactly "[HGEFONT]"
  std::vector<FontDescriptionLine> lines;
};

// Reads the description text up to its first zero byte. Lines end at any run
// of CR and LF; a line acts only when more text follows it, so the last line
// never does. descriptionName decides where the texture is looked for.
FontDescription ReadFontDescription(std::string_view text, std::string_view descriptionName);

// The description's name with everything after its last "\" (else its last
// "/") replaced by the word; without either the word replaces the whole name.
// Empty when the result would exceed kFontPathLimit.
std::string FontTexturePath(std::string_view descriptionName, std::string_view word);
