// hgeSprite, BoundingRect and ColorRGBA. Corner positions are computed in
// 32-bit floats (cosine and sine in double, then rounded) so every machine
// draws the same quads.
#include "engine/sprite.h"

#include <cmath>
#include <utility>

void BoundingRect::Assign(float left, float top, float right, float bottom) {
  x1 = left;
  y1 = top;
  x2 = right;
  y2 = bottom;
  empty = false;
}

void BoundingRect::Include(float x, float y) {
  if (empty) {
    x1 = x2 = x;
    y1 = y2 = y;
    empty = false;
    return;
  }
  if (x < x1) x1 = x;
  if (x > x2) x2 = x;
  if (y < y1) y1 = y;
  if (y > y2) y2 = y;
}

ColorRGBA& ColorRGBA::FromARGB(uint32_t argb) {
  a = static_cast<float>((argb >> 24) & 0xFF) / 255.0f;
  r = static_cast<float>((argb >> 16) & 0xFF) / 255.0f;
  g = static_cast<float>((argb >> 8) & 0xFF) / 255.0f;
  b = static_cast<float>(argb & 0xFF) / 255.0f;
  return *this;
}

namespace {

// channel * 255 truncated toward zero to a signed 64-bit integer, of which the
// low 32 bits are kept. Not-a-number and values beyond the 64-bit range give
// 0 instead of undefined behaviour.
uint32_t channelBits(float channel) {
  const float scaled = channel * 255.0f;
  constexpr float kLimit = 9223372036854775808.0f;  // 2^63
  if (!(scaled > -kLimit && scaled < kLimit)) return 0;
  return static_cast<uint32_t>(static_cast<uint64_t>(static_cast<int64_t>(scaled)));
}

}  // namespace

uint32_t ColorRGBA::ToARGB() const {
  // Unsigned arithmetic wraps at 32 bits, which is the spill the callers expect.
  return (channelBits(a) << 24) + (channelBits(r) << 16) + (channelBits(g) << 8) + channelBits(b);
}

hgeSprite::hgeSprite(HTEXTURE texture, float x, float y, float w, float h) : texX_(x), texY_(y), width_(w), height_(h) {
  if (texture != 0 && hge_) {
    // The surface size, which may exceed the image: texture coordinates are
    // fractions of the surface. An engine that does not know the handle
    // answers 0; texel coordinates are then kept rather than dividing by 0.
    const int surfaceWidth = hge_->Texture_GetWidth(texture, false);
    const int surfaceHeight = hge_->Texture_GetHeight(texture, false);
    if (surfaceWidth > 0) texWidth_ = static_cast<float>(surfaceWidth);
    if (surfaceHeight > 0) texHeight_ = static_cast<float>(surfaceHeight);
  }
  quad_.texture = texture;
  UpdateTextureCoordinates();
  for (SpriteVertex& vertex : quad_.v) {
    vertex.x = vertex.y = 0.0f;
    vertex.z = 0.5f;
    vertex.colour = 0xFFFFFFFF;
  }
  quad_.blend = kBlendAlpha;
}

void hgeSprite::UpdateTextureCoordinates() {
  const float uLeft = texX_ / texWidth_;
  const float vTop = texY_ / texHeight_;
  const float uRight = (texX_ + width_) / texWidth_;
  const float vBottom = (texY_ + height_) / texHeight_;
  quad_.v[0].tx = uLeft, quad_.v[0].ty = vTop;
  quad_.v[1].tx = uRight, quad_.v[1].ty = vTop;
  quad_.v[2].tx = uRight, quad_.v[2].ty = vBottom;
  quad_.v[3].tx = uLeft, quad_.v[3].ty = vBottom;
}

void hgeSprite::RenderTransformed(float x, float y, float rotationRadians, float hscale, float vscale) {
  if (vscale == 0.0f) vscale = hscale;
  const float left = -pivotX_ * hscale;
  const float top = -pivotY_ * vscale;
  const float right = (width_ - pivotX_) * hscale;
  const float bottom = (height_ - pivotY_) * vscale;
  const float corners[4][2] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};

  if (rotationRadians == 0.0f) {
    for (int k = 0; k < 4; ++k) {
      quad_.v[k].x = corners[k][0] + x;
      quad_.v[k].y = corners[k][1] + y;
    }
  } else {
    const float c = static_cast<float>(std::cos(static_cast<double>(rotationRadians)));
    const float s = static_cast<float>(std::sin(static_cast<double>(rotationRadians)));
    for (int k = 0; k < 4; ++k) {
      const float px = corners[k][0];
      const float py = corners[k][1];
      quad_.v[k].x = px * c - py * s + x;
      quad_.v[k].y = px * s + py * c + y;
    }
  }
  if (hge_) hge_->Gfx_RenderQuad(&quad_);
}

void hgeSprite::SetFlipState(bool flipX, bool flipY) {
  auto swapTexture = [this](int a, int b) {
    std::swap(quad_.v[a].tx, quad_.v[b].tx);
    std::swap(quad_.v[a].ty, quad_.v[b].ty);
  };
  if (flipX != flipX_) {
    swapTexture(0, 1);
    swapTexture(3, 2);
    flipX_ = !flipX_;
  }
  if (flipY != flipY_) {
    swapTexture(0, 3);
    swapTexture(1, 2);
    flipY_ = !flipY_;
  }
}

void hgeSprite::GetFlipState(bool* flipX, bool* flipY) const {
  if (flipX) *flipX = flipX_;
  if (flipY) *flipY = flipY_;
}

void hgeSprite::SetSourceRect(float x, float y, float w, float h) {
  texX_ = x;
  texY_ = y;
  width_ = w;
  height_ = h;
  UpdateTextureCoordinates();
  const bool keepFlipX = flipX_;
  const bool keepFlipY = flipY_;
  flipX_ = flipY_ = false;
  SetFlipState(keepFlipX, keepFlipY);
}

void hgeSprite::GetPivot(float* x, float* y) const {
  if (x) *x = pivotX_;
  if (y) *y = pivotY_;
}

void hgeSprite::SetVertexColor(uint32_t colour, int index) {
  if (index == -1) {
    for (SpriteVertex& vertex : quad_.v) vertex.colour = colour;
  } else if (index >= 0 && index < 4) {
    quad_.v[index].colour = colour;
  }
}

uint32_t hgeSprite::GetVertexColor(int index) const {
  if (index < 0 || index >= 4) return 0;
  return quad_.v[index].colour;
}

BoundingRect& hgeSprite::ComputeBounds(float x, float y, BoundingRect& rect) const {
  rect.Assign(x - pivotX_, y - pivotY_, x - pivotX_ + width_, y - pivotY_ + height_);
  return rect;
}
