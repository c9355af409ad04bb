// The textured quad every image goes through (hgeSprite), plus the two small
// value types that travel with it: BoundingRect and ColorRGBA. Needs only the
// engine interface.
#pragma once

#include <cstdint>

#include "engine/engine_ref.h"
#include "engine/hge.h"
#include "engine/quad.h"

// An axis-aligned rectangle with an empty flag. A fresh rectangle is empty.
struct BoundingRect {
  float x1 = 0, y1 = 0;  // top-left
  float x2 = 0, y2 = 0;  // bottom-right
  bool empty = true;

  void Reset() { empty = true; }
  // Stores the corners exactly as given (no reordering) and clears empty.
  void Assign(float left, float top, float right, float bottom);
  // Grows the rectangle to take in the point; an empty one becomes that point.
  void Include(float x, float y);
};

// A colour as four floats, nominally 0 to 1.
struct ColorRGBA {
  float r = 0, g = 0, b = 0, a = 0;

  ColorRGBA() = default;
  ColorRGBA(float red, float green, float blue, float alpha) : r(red), g(green), b(blue), a(alpha) {}
  explicit ColorRGBA(uint32_t argb) { FromARGB(argb); }

  // Each byte divided by 255.
  ColorRGBA& FromARGB(uint32_t argb);
  // Each channel times 255, truncated; channels are added into place with
  // 32-bit wrap-around and no clamping, so a channel outside 0..1 spills into
  // its neighbours (the composition's colours depend on this).
  uint32_t ToARGB() const;
};

// A rectangle cut out of one texture, drawn as a ready-made quad at any
// position, rotation and scale about its pivot. Carries no position of its
// own; one sprite is shared by every user that draws that image. Each sprite
// holds one engine reference from construction to destruction and never
// frees its texture.
class hgeSprite {
 public:
  // x, y, w, h: the source rectangle in texels.
  hgeSprite(HTEXTURE texture, float x, float y, float w, float h);
  // A copy takes an engine reference of its own; assignment copies
  // everything but the engine reference.
  hgeSprite(const hgeSprite& other) = default;
  hgeSprite& operator=(const hgeSprite& other) = default;
  ~hgeSprite() = default;

  // rotationRadians is clockwise on screen; vscale exactly 0 means hscale.
  // Computes the four corners and submits the quad. Allocates nothing.
  void RenderTransformed(float x, float y, float rotationRadians, float hscale, float vscale = 0.0f);

  // Mirrors the texture coordinates; calling with the current state is a no-op.
  void SetFlipState(bool flipX, bool flipY);
  void GetFlipState(bool* flipX, bool* flipY) const;
  // Selects a new source rectangle (texels) keeping the current mirroring.
  void SetSourceRect(float x, float y, float w, float h);
  void SetPivot(float x, float y) { pivotX_ = x, pivotY_ = y; }
  void GetPivot(float* x, float* y) const;
  // index 0..3 colours that corner, -1 all four; any other index does nothing.
  void SetVertexColor(uint32_t colour, int index = -1);
  // Colour of corner 0..3; 0 for any other index.
  uint32_t GetVertexColor(int index) const;
  void SetBlend(int mode) { quad_.blend = mode; }
  int GetBlend() const { return quad_.blend; }

  HTEXTURE GetTexture() const { return quad_.texture; }
  float GetWidth() const { return width_; }
  float GetHeight() const { return height_; }
  float GetTextureX() const { return texX_; }
  float GetTextureY() const { return texY_; }
  // The quad as last submitted (corner positions are those of the last draw).
  const SpriteQuad& GetQuad() const { return quad_; }

  // The unscaled, unrotated rectangle around the pivot placed at (x, y);
  // returns rect.
  BoundingRect& ComputeBounds(float x, float y, BoundingRect& rect) const;

 private:
  void UpdateTextureCoordinates();

  SpriteQuad quad_;  // first member: the sprite's own storage is what the engine receives
  float texX_, texY_;
  float width_, height_;
  float texWidth_ = 1.0f, texHeight_ = 1.0f;
  float pivotX_ = 0.0f, pivotY_ = 0.0f;
  bool flipX_ = false, flipY_ = false;
  // The engine this sprite acquired, so that it releases the same one.
  EngineRef hge_;
};
