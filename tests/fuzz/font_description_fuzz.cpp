// libFuzzer target for bitmap fonts: any bytes as "graphics\font.fnt" must
// read without a crash, a hang or undefined behaviour; every glyph the reader
// hands on must carry a code in 0..255 and a texture path within the limit;
// and the font built from them on the recording engine must measure and
// draw any text, at any scale, without one either.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "font/font.h"
#include "font/font_description.h"
#include "tests/support/recording_engine.h"

namespace {

// Every byte value once, and line feeds between some of them.
std::string allBytes() {
  std::string text;
  for (int code = 1; code < 256; ++code) {
    text += static_cast<char>(code);
    if (code % 37 == 0) text += '\n';
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  FontDescription description = ReadFontDescription(text, "graphics\\font.fnt");
  for (const FontDescriptionLine& line : description.lines) {
    if (line.kind == FontDescriptionLine::Kind::Char && (line.code < 0 || line.code > 255)) std::abort();
    if (line.kind == FontDescriptionLine::Kind::Bitmap && line.texturePath.size() > kFontPathLimit) std::abort();
  }

  // A fresh engine for every input. The recording engine keeps a record of
  // every texture it has loaded (its handles are never reused), so one
  // engine for the whole run grew by one record for each bitmap an input
  // named: about 100 bytes a run, hundreds of megabytes over millions.
  ScopedRecordingEngine scoped;
  RecordingEngine& recording = *scoped;
  recording.recordCalls = false;
  recording.recordQuads = false;
  recording.resources["graphics/font.fnt"] = std::string(text);
  // The bitmaps the seeds name, as the font's folder makes them.
  for (const char* name : {"graphics/font.png", "graphics/f.png", "graphics/fontsmall.png"})
    recording.textureFiles[name] = {name, 256, 128, 256, 128};
  static const std::string sample = allBytes();
  hgeFont font("graphics\\font.fnt");
  font.SetColor(0xFF8080FF);
  for (float scale : {1.0f, 0.37f, 1e30f}) {
    font.SetScale(scale);
    for (int align : {kTextLeft, kTextRight, kTextCenter}) font.printf(480, 180, align, "%s", sample.c_str());
  }
  return 0;
}
