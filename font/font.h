// hgeFont: text drawn from a bitmap font, one sprite per glyph cut from the
// texture that a ".fnt" description names. Needs the engine and the sprite.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/engine_ref.h"
#include "engine/hge.h"
#include "engine/sprite.h"

struct FontDescription;

// Alignment for Render and printf; only the two lowest bits count (3 is left).
constexpr int kTextLeft = 0;
constexpr int kTextRight = 1;
constexpr int kTextCenter = 2;

class hgeFont {
 public:
  static constexpr int kGlyphCount = 256;
  static constexpr int kBufferSize = 1024;

  // Reads the description (a resource name such as "graphics\font.fnt") and
  // the texture it names. Never fails as a whole: a missing or malformed
  // description leaves fewer glyphs or none. A wrong header line and glyphs
  // defined before any bitmap are written to the engine's log.
  explicit hgeFont(const char* descriptionName);
  hgeFont(const hgeFont&) = delete;
  hgeFont& operator=(const hgeFont&) = delete;
  // Destroys the glyphs, then frees every texture the font loaded.
  ~hgeFont();

  // Draws the zero-terminated bytes with the first line's reference point at
  // (x, y); a line feed starts the next line one line height lower, aligned
  // on its own. Glyphs without a texture take their room but draw nothing.
  // Allocates nothing.
  void Render(float x, float y, int align, const char* text);
  // Formats into the font's 1,024-byte buffer (longer results are cut at
  // 1,023 characters) and renders it. The format is read as a format: pass
  // "%s" and the text to draw a text that may hold "%".
  void printf(float x, float y, int align, const char* format, ...) __attribute__((format(printf, 5, 6)));

  // Packed ARGB on all four corners of every glyph that exists now.
  void SetColor(uint32_t colour);
  void SetScale(float scale) { scale_ = scale; }
  float GetScale() const { return scale_; }
  // Width in drawing units of the text up to its first line feed or its end.
  float GetStringWidth(const char* text) const;

  // --- Queries -------------------------------------------------------------
  // Greatest glyph height of the description, in font pixels (unscaled).
  float GetHeight() const { return lineHeight_; }
  // The texture of the last "Bitmap" line; 0 when none loaded.
  HTEXTURE GetTexture() const { return texture_; }
  // The glyph of a byte value; null when the description defines none.
  const hgeSprite* GetSprite(unsigned char code) const { return glyphs_[code].get(); }
  float GetPreOffset(unsigned char code) const { return preOffset_[code]; }
  float GetPostOffset(unsigned char code) const { return postOffset_[code]; }

 private:
  // Loads the textures and makes the glyphs in description order; stops at
  // the first texture that does not load.
  void Build(const FontDescription& description);
  // The glyph code drawn for a byte: its own when defined, else "?" (whose
  // glyph may be missing too).
  unsigned char GlyphCode(char c) const;
  // The x at which a line starting at text begins for the alignment.
  float LineStart(float x, int align, const char* text) const;

  char buffer_[kBufferSize] = {};
  HTEXTURE texture_ = 0;
  std::array<std::unique_ptr<hgeSprite>, kGlyphCount> glyphs_;
  float preOffset_[kGlyphCount] = {};
  float postOffset_[kGlyphCount] = {};
  float lineHeight_ = 0.0f;
  float scale_ = 1.0f;

  EngineRef hge_;
  // Every texture a "Bitmap" line loaded: glyphs keep the texture they were
  // made with even when a later line replaces the font's texture.
  std::vector<HTEXTURE> loadedTextures_;
};
