// libFuzzer target for the font description reader: any bytes must read
// without a crash, a hang or undefined behaviour, and every glyph the reader
// hands on must carry a code in 0..255 and a texture path within the limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "font/font_description.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  FontDescription description = ReadFontDescription(text, "graphics\\font.fnt");
  for (const FontDescriptionLine& line : description.lines) {
    if (line.kind == FontDescriptionLine::Kind::Char && (line.code < 0 || line.code > 255)) std::abort();
    if (line.kind == FontDescriptionLine::Kind::Bitmap && line.texturePath.size() > kFontPathLimit) std::abort();
  }
  return 0;
}
