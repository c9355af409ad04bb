// hgeFont: building the glyphs from a description, and drawing and measuring
// text. Drawing works on the caller's bytes and the fixed buffer only.
#include "font/font.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "font/font_description.h"

namespace {

constexpr unsigned char kFallbackCode = '?';
constexpr char kLineFeed = '\n';

}  // namespace

hgeFont::hgeFont(const char* descriptionName) {
  if (!hge_ || !descriptionName) return;
  uint32_t size = 0;
  void* block = hge_->Resource_Load(descriptionName, &size);
  if (!block) return;
  // Copied so that the reader never depends on the engine terminating the block.
  std::string text(static_cast<const char*>(block), size);
  hge_->Resource_Free(block);

  FontDescription description = ReadFontDescription(text, descriptionName);
  if (!description.validHeader) {
    hge_->System_Log("Font %s has incorrect format.", descriptionName);
    return;
  }
  Build(description);
  for (const auto& glyph : glyphs_) {
    if (glyph && !glyph->GetTexture()) {
      hge_->System_Log("Font %s has glyphs before any bitmap; they are not drawn.", descriptionName);
      break;
    }
  }
}

hgeFont::~hgeFont() {
  for (auto& glyph : glyphs_) glyph.reset();
  if (hge_) {
    for (HTEXTURE texture : loadedTextures_) hge_->Texture_Free(texture);
  }
}

void hgeFont::Build(const FontDescription& description) {
  for (const FontDescriptionLine& line : description.lines) {
    if (line.kind == FontDescriptionLine::Kind::Bitmap) {
      texture_ = line.texturePath.empty() ? 0 : hge_->Texture_Load(line.texturePath.c_str(), 0, false);
      if (!texture_) return;
      loadedTextures_.push_back(texture_);
      continue;
    }
    const auto code = static_cast<unsigned char>(line.code);
    glyphs_[code] = std::make_unique<hgeSprite>(texture_, static_cast<float>(line.x), static_cast<float>(line.y),
                                                static_cast<float>(line.w), static_cast<float>(line.h));
    preOffset_[code] = static_cast<float>(line.pre);
    postOffset_[code] = static_cast<float>(line.post);
    if (static_cast<float>(line.h) > lineHeight_) lineHeight_ = static_cast<float>(line.h);
  }
}

unsigned char hgeFont::GlyphCode(char c) const {
  const auto code = static_cast<unsigned char>(c);
  return glyphs_[code] ? code : kFallbackCode;
}

float hgeFont::GetStringWidth(const char* text) const {
  if (!text) return 0.0f;
  float width = 0.0f;
  for (const char* p = text; *p && *p != kLineFeed; ++p) {
    const unsigned char code = GlyphCode(*p);
    if (const hgeSprite* glyph = glyphs_[code].get()) width += glyph->GetWidth() + preOffset_[code] + postOffset_[code];
  }
  return width * scale_;
}

float hgeFont::LineStart(float x, int align, const char* text) const {
  switch (align & 3) {
    case kTextRight: return x - GetStringWidth(text);
    case kTextCenter:
      // Half the width truncated to a whole number keeps centred text on
      // whole pixels. std::trunc, not a cast: widths may be huge or not finite.
      return x - std::trunc(GetStringWidth(text) * 0.5f);
    default: return x;
  }
}

void hgeFont::Render(float x, float y, int align, const char* text) {
  if (!text) return;
  float px = LineStart(x, align, text);
  for (const char* p = text; *p; ++p) {
    if (*p == kLineFeed) {
      y += std::trunc(lineHeight_ * scale_);
      px = LineStart(x, align, p + 1);
      continue;
    }
    const unsigned char code = GlyphCode(*p);
    hgeSprite* glyph = glyphs_[code].get();
    if (!glyph) continue;
    px += preOffset_[code] * scale_;
    // A glyph without a bitmap would draw as a solid block: it only takes its room.
    if (glyph->GetTexture()) glyph->RenderTransformed(px, y, 0.0f, scale_, scale_);
    px += (glyph->GetWidth() + postOffset_[code]) * scale_;
  }
}

void hgeFont::printf(float x, float y, int align, const char* format, ...) {
  if (!format) return;
  va_list args;
  va_start(args, format);
  if (std::vsnprintf(buffer_, sizeof buffer_, format, args) < 0) buffer_[0] = '\0';
  va_end(args);
  Render(x, y, align, buffer_);
}

void hgeFont::SetColor(uint32_t colour) {
  for (auto& glyph : glyphs_) {
    if (glyph) glyph->SetVertexColor(colour, -1);
  }
}
