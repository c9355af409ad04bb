// QuadRenderer: textured, coloured quads drawn on one SDL renderer. It owns
// the renderer, the atlas pages and the texture slots placed in them, the
// batch, the transform, clipping and the count of draw calls; both SDL
// engines draw through one. Knows nothing of windows, packs, sound or the
// engine states.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/hge.h"
#include "engine/quad.h"
#include "engine/sdl/batch_sinks.h"
#include "engine/sdl/quad_batch.h"
#include "engine/sdl/sdl_handles.h"
#include "engine/sdl/sprite_trim.h"
#include "engine/sdl/texture_atlas.h"
#include "engine/sdl/triangle_clipper.h"

class QuadRenderer {
 public:
  QuadRenderer() = default;
  ~QuadRenderer() { Release(); }
  QuadRenderer(const QuadRenderer&) = delete;
  QuadRenderer& operator=(const QuadRenderer&) = delete;

  // Takes over the renderer that draws into a target of the given size in
  // pixels (the coordinates quads use), with no transform and no clipping.
  // False with *error set, and nothing attached, when there is no renderer,
  // the size is not positive or the renderer cannot take a texture.
  bool Attach(RendererHandle renderer, int width, int height, std::string* error);
  // Frees every texture and the renderer; safe to call twice.
  void Release();
  bool Attached() const { return renderer_ != nullptr; }
  SDL_Renderer* Renderer() const { return renderer_.get(); }
  // The target was resized (a window that changed size): quads and clipping
  // use the new size from now on, and clipping covers the whole target.
  void Resize(int width, int height);
  // SDL's name of the renderer ("opengl", "software"); empty when none is attached.
  const char* Name() const { return name_.c_str(); }
  // True when pages hold premultiplied texels and both blends share one
  // blend state (renderers with custom blend modes); false on SDL's
  // software renderer, which keeps its two standard blend modes.
  bool PremultipliedAlpha() const { return premultiplied_; }

  // Linear (on) or nearest texel filtering; a change reaches every page
  // before the next quad is drawn, and a renderer attached later.
  void SetTextureFilter(bool linear) { wantedFilter_ = linear; }
  // Sprites are drawn as the outline of their texels with alpha (on by
  // default; it changes no pixel, so switching it off serves comparisons).
  // SDL's software renderer draws whole quads either way: it maps texels
  // from each triangle's corners, so cutting quads there would move texels.
  void SetTrimming(bool on) { trimming_ = on; }

  // A frame: the draw calls between StartFrame and FinishFrame are counted.
  void StartFrame();
  // Hands every queued quad to the renderer; DrawsInLastFrame then tells
  // how many draw calls the frame took.
  void FinishFrame();
  int DrawsInLastFrame() const { return drawsInLastFrame_; }
  // Hands every queued quad to the renderer (before reading the target back).
  void Flush() { batch_.Flush(); }
  // Changes whenever drawing reaches the target (clears and draws).
  uint64_t TargetGeneration() const { return batch_.DrawsEver() + clears_; }

  // Fills the whole target with an ARGB colour; queued quads go out first.
  void Clear(uint32_t colour);
  // Drawing stays inside the rectangle, cut to the target; all zeros covers
  // the whole target, and an empty rectangle lets nothing through.
  void SetClipping(int x, int y, int width, int height);
  // Later quads are scaled about (x, y), turned by rotation radians about
  // it and moved by (dx, dy); both scales 0 switch the transform off.
  void SetTransform(float x, float y, float dx, float dy, float rotation, float hscale, float vscale);
  // Blend mode values with bit 2 set alpha-blend, the others add. A quad
  // naming a texture that is not loaded, with a corner that is not finite,
  // or that cannot change a pixel is dropped; texture coordinates are
  // clamped to the texture surface.
  void Draw(const SpriteQuad& quad);

  // The longest image side AddTexture takes: 4,096 pixels, or less where
  // the renderer's textures are smaller.
  int LargestImageSide() const;
  // Places an ARGB8888 image, padded to a power-of-two surface, as a new
  // texture. The padding repeats the last column and row, so that filtering
  // at the image's edge does not blend in empty texels. Its handle, or 0
  // (SDL's error tells why) when no page can take it.
  HTEXTURE AddTexture(SDL_Surface* image);
  // Frees the texture; its handle stays unused. Unknown handles are ignored.
  void FreeTexture(HTEXTURE texture);
  // The image's own size when imageSize is true, else its surface's; 0 for
  // an unknown handle.
  int TextureWidth(HTEXTURE texture, bool imageSize) const;
  int TextureHeight(HTEXTURE texture, bool imageSize) const;

 private:
  struct TextureSlot {
    bool live = false;
    int imageWidth = 0;
    int imageHeight = 0;
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    AtlasPlace place;
    SpriteOutline outline;  // of the surface's texels with alpha
  };

  const TextureSlot* findTexture(HTEXTURE texture) const;
  bool placeImage(SDL_Surface* image, TextureSlot& slot);
  PageArea areaOf(const TextureSlot& slot) const;
  void updateGuardRect();
  void transformPoint(float& x, float& y) const;
  void usePage(const TextureSlot& slot, int blend);
  void drawPremultiplied(const ClipVertex (&corners)[4], const TextureSlot& slot, int blend, bool untextured);

  RendererHandle renderer_;
  std::string name_;
  bool softwareRenderer_ = false;
  bool premultiplied_ = false;
  SDL_BlendMode sharedBlend_ = SDL_BLENDMODE_INVALID;
  bool wantedFilter_ = true;
  bool linearFilter_ = false;  // what the pages use now
  bool trimming_ = true;
  int targetWidth_ = 0;
  int targetHeight_ = 0;
  TextureAtlas atlas_;
  QuadBatch batch_;
  int drawsInLastFrame_ = 0;
  uint64_t clears_ = 0;
  std::vector<TextureSlot> textures_;  // handle = index + 1; freed slots stay empty
  // A white texel that untextured quads sample, so that every quad takes the
  // one textured path (SDL 2.26's software renderer blends an untextured,
  // evenly coloured rectangle in additive mode instead of adding it).
  TextureSlot white_;

  bool transformOn_ = false;
  float centreX_ = 0, centreY_ = 0, shiftX_ = 0, shiftY_ = 0;
  float scaleX_ = 1, scaleY_ = 1, cosine_ = 1, sine_ = 0;

  bool clipOn_ = false;
  bool clipEmpty_ = false;
  SDL_Rect clip_{};
  // Quads reaching past this rectangle are clipped to it before SDL sees
  // them: the clip area plus a margin, so the cut edges stay out of sight.
  ClipRect guard_{};
};
