// The quad renderer: attaching the renderer, texture slots in atlas pages,
// clearing, clipping, the transform, and each quad's way into the batch,
// cut where SDL's rasterisers would go wrong.
#include "engine/sdl/quad_renderer.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "engine/sdl/quad_splitter.h"

namespace {

// Distance in pixels between the visible area and the edges where oversized
// quads are cut.
constexpr float kGuardMargin = 2.0f;

// Larger images are refused: a catalogue image has no use for more, and at
// this size one padded image already takes 64 MiB.
constexpr int kMaxImageSide = 4096;

// Half the product of doubled triangle area and texel coordinate at which
// SDL 2.26's software rasteriser starts to read outside the texture.
constexpr double kSoftwareAreaTexelLimit = 268435456.0;  // 2^28

int nextPowerOfTwo(int value) {
  int result = 1;
  while (result < value) result *= 2;
  return result;
}

// Copies the ARGB8888 image into the top-left of the larger ARGB8888
// surface and repeats its last column and row into the rest.
void copyPadded(SDL_Surface* image, SDL_Surface* padded) {
  const int width = image->w;
  const int height = image->h;
  for (int y = 0; y < padded->h; ++y) {
    const auto* source = reinterpret_cast<const Uint32*>(static_cast<const uint8_t*>(image->pixels) +
                                                         (y < height ? y : height - 1) * image->pitch);
    auto* target = reinterpret_cast<Uint32*>(static_cast<uint8_t*>(padded->pixels) + y * padded->pitch);
    std::memcpy(target, source, static_cast<size_t>(width) * sizeof(Uint32));
    for (int x = width; x < padded->w; ++x) target[x] = source[width - 1];
  }
}

// True when drawing the quad cannot change a pixel: with no alpha at any
// corner, alpha blending keeps the target and adding adds nothing; adding a
// black quad adds nothing either. Random colour formulas leave a good share
// of the figures so, and llvmpipe would blend every one of their pixels.
bool changesNothing(const SpriteQuad& quad) {
  uint32_t alpha = 0, colour = 0;
  for (const SpriteVertex& vertex : quad.v) {
    alpha |= vertex.colour >> 24;
    colour |= vertex.colour & 0xFFFFFF;
  }
  return alpha == 0 || ((quad.blend & kBlendAlpha) == 0 && colour == 0);
}

}  // namespace

// ---- Renderer -----------------------------------------------------------

bool QuadRenderer::Attach(RendererHandle renderer, int width, int height, std::string* error) {
  Release();
  if (!renderer || width <= 0 || height <= 0) {
    *error = "no renderer for the drawing target";
    return false;
  }
  renderer_ = std::move(renderer);
  targetWidth_ = width;
  targetHeight_ = height;

  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer_.get(), &info);
  name_ = info.name ? info.name : "";
  softwareRenderer_ = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  // Premultiplied texels let alpha blending and additive blending share one
  // blend state, source × 1 + destination × (1 − source alpha), so that
  // quads of both kinds go out in one draw. SDL's software renderer has no
  // custom blend modes and keeps its two standard ones.
  sharedBlend_ =
      SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD,
                                 SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
  premultiplied_ = false;
  if (!softwareRenderer_) {
    TextureHandle probe(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 1, 1));
    premultiplied_ = probe && SDL_SetTextureBlendMode(probe.get(), sharedBlend_) == 0;
  }
  const int maxSide = std::max(0, std::min(info.max_texture_width, info.max_texture_height));
  // SDL 2.26's software triangle code overflows when a large triangle maps
  // texels far from the texture's origin, as in a shared page: there every
  // image keeps a texture of its own.
  atlas_.Attach(renderer_.get(), premultiplied_, !softwareRenderer_, maxSide);
  batch_.Attach(renderer_.get());
  linearFilter_ = wantedFilter_;

  SurfaceHandle white(SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_ARGB8888));
  if (white) SDL_FillRect(white.get(), nullptr, 0xFFFFFFFFu);
  white_ = TextureSlot{};
  if (!white || !placeImage(white.get(), white_)) {
    *error = std::string("white texture: ") + SDL_GetError();
    Release();
    return false;
  }

  transformOn_ = false;
  drawsInLastFrame_ = 0;
  SetClipping(0, 0, 0, 0);
  return true;
}

void QuadRenderer::Release() {
  batch_.Attach(nullptr);
  textures_.clear();
  white_ = TextureSlot{};
  atlas_.Clear();
  renderer_.reset();
  name_.clear();
  targetWidth_ = targetHeight_ = 0;
  clipOn_ = clipEmpty_ = false;
}

void QuadRenderer::Resize(int width, int height) {
  if (!renderer_ || width <= 0 || height <= 0) return;
  targetWidth_ = width;
  targetHeight_ = height;
  SetClipping(0, 0, 0, 0);
}

// ---- Frames, clearing, clipping, transform ------------------------------

void QuadRenderer::StartFrame() { batch_.TakeDrawCount(); }

void QuadRenderer::FinishFrame() {
  batch_.Flush();
  drawsInLastFrame_ = batch_.TakeDrawCount();
}

void QuadRenderer::Clear(uint32_t colour) {
  if (!renderer_) return;
  batch_.Flush();
  ++clears_;
  SDL_SetRenderDrawColor(renderer_.get(), (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF, colour >> 24);
  SDL_RenderClear(renderer_.get());
}

void QuadRenderer::SetClipping(int x, int y, int width, int height) {
  if (!renderer_) return;
  batch_.Flush();
  if (x == 0 && y == 0 && width == 0 && height == 0) {
    clipOn_ = clipEmpty_ = false;
    SDL_RenderSetClipRect(renderer_.get(), nullptr);
  } else {
    // Intersected with the target in 64 bits: x + width may not fit an int.
    int64_t left = std::max<int64_t>(x, 0);
    int64_t top = std::max<int64_t>(y, 0);
    int64_t right = std::min<int64_t>(int64_t{x} + width, targetWidth_);
    int64_t bottom = std::min<int64_t>(int64_t{y} + height, targetHeight_);
    clipOn_ = true;
    clipEmpty_ = width <= 0 || height <= 0 || right <= left || bottom <= top;
    if (!clipEmpty_) {
      clip_ = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
               static_cast<int>(bottom - top)};
      SDL_RenderSetClipRect(renderer_.get(), &clip_);
    }
  }
  updateGuardRect();
}

void QuadRenderer::updateGuardRect() {
  SDL_Rect area = clipOn_ && !clipEmpty_ ? clip_ : SDL_Rect{0, 0, targetWidth_, targetHeight_};
  guard_ = {static_cast<float>(area.x) - kGuardMargin, static_cast<float>(area.y) - kGuardMargin,
            static_cast<float>(area.x + area.w) + kGuardMargin, static_cast<float>(area.y + area.h) + kGuardMargin};
}

void QuadRenderer::SetTransform(float x, float y, float dx, float dy, float rotation, float hscale, float vscale) {
  if (hscale == 0.0f && vscale == 0.0f) {
    transformOn_ = false;
    return;
  }
  transformOn_ = true;
  centreX_ = x;
  centreY_ = y;
  shiftX_ = dx;
  shiftY_ = dy;
  scaleX_ = hscale;
  scaleY_ = vscale;
  cosine_ = static_cast<float>(std::cos(static_cast<double>(rotation)));
  sine_ = static_cast<float>(std::sin(static_cast<double>(rotation)));
}

void QuadRenderer::transformPoint(float& x, float& y) const {
  float px = (x - centreX_) * scaleX_;
  float py = (y - centreY_) * scaleY_;
  x = px * cosine_ - py * sine_ + centreX_ + shiftX_;
  y = px * sine_ + py * cosine_ + centreY_ + shiftY_;
}

// ---- Textures -----------------------------------------------------------

const QuadRenderer::TextureSlot* QuadRenderer::findTexture(HTEXTURE texture) const {
  if (texture == 0 || texture > textures_.size()) return nullptr;
  const TextureSlot& slot = textures_[texture - 1];
  return slot.live ? &slot : nullptr;
}

int QuadRenderer::LargestImageSide() const {
  int side = kMaxImageSide;
  SDL_RendererInfo info;
  if (renderer_ && SDL_GetRendererInfo(renderer_.get(), &info) == 0) {
    // Surfaces are padded to powers of two and placed with a gutter, so
    // halving keeps the side one that fits.
    const int extra = 2 * TextureAtlas::kGutter;
    for (int limit : {info.max_texture_width, info.max_texture_height})
      while (limit > 0 && side > 1 && side + extra > limit) side /= 2;
  }
  return side;
}

HTEXTURE QuadRenderer::AddTexture(SDL_Surface* image) {
  TextureSlot slot;
  if (!renderer_ || !image || !placeImage(image, slot)) return 0;
  textures_.push_back(slot);
  return static_cast<HTEXTURE>(textures_.size());
}

bool QuadRenderer::placeImage(SDL_Surface* image, TextureSlot& slot) {
  slot.imageWidth = image->w;
  slot.imageHeight = image->h;
  slot.surfaceWidth = nextPowerOfTwo(image->w);
  slot.surfaceHeight = nextPowerOfTwo(image->h);
  SurfaceHandle padded(
      SDL_CreateRGBSurfaceWithFormat(0, slot.surfaceWidth, slot.surfaceHeight, 32, SDL_PIXELFORMAT_ARGB8888));
  if (!padded || SDL_LockSurface(padded.get()) != 0) return false;
  if (SDL_LockSurface(image) == 0) {
    copyPadded(image, padded.get());
    SDL_UnlockSurface(image);
  }
  slot.outline = OutlineOfTexels(static_cast<const uint32_t*>(padded->pixels), padded->w, padded->h,
                                 padded->pitch / static_cast<int>(sizeof(uint32_t)));
  SDL_UnlockSurface(padded.get());
  if (!atlas_.Add(padded.get(), slot.place)) return false;
  SDL_SetTextureScaleMode(atlas_.Page(slot.place.page), linearFilter_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  slot.live = true;
  return true;
}

void QuadRenderer::FreeTexture(HTEXTURE texture) {
  if (texture == 0 || texture > textures_.size() || !textures_[texture - 1].live) return;
  TextureSlot& slot = textures_[texture - 1];
  // Queued quads may still use the page, which goes when its last image does.
  batch_.Flush();
  atlas_.Remove(slot.place);
  slot = TextureSlot{};
}

int QuadRenderer::TextureWidth(HTEXTURE texture, bool imageSize) const {
  const TextureSlot* slot = findTexture(texture);
  if (!slot) return 0;
  return imageSize ? slot->imageWidth : slot->surfaceWidth;
}

int QuadRenderer::TextureHeight(HTEXTURE texture, bool imageSize) const {
  const TextureSlot* slot = findTexture(texture);
  if (!slot) return 0;
  return imageSize ? slot->imageHeight : slot->surfaceHeight;
}

// ---- Quads --------------------------------------------------------------

PageArea QuadRenderer::areaOf(const TextureSlot& slot) const {
  return {slot.place.x,
          slot.place.y,
          slot.surfaceWidth,
          slot.surfaceHeight,
          atlas_.PageWidth(slot.place.page),
          atlas_.PageHeight(slot.place.page)};
}

void QuadRenderer::usePage(const TextureSlot& slot, int blend) {
  if (wantedFilter_ != linearFilter_) {
    // A page's filter applies to queued draws too: they go out first.
    batch_.Flush();
    SDL_RenderFlush(renderer_.get());
    linearFilter_ = wantedFilter_;
    for (int page = 0; page < atlas_.PageCount(); ++page)
      if (SDL_Texture* texture = atlas_.Page(page))
        SDL_SetTextureScaleMode(texture, linearFilter_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  }
  const SDL_BlendMode mode =
      premultiplied_ ? sharedBlend_ : ((blend & kBlendAlpha) ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_ADD);
  batch_.Use(atlas_.Page(slot.place.page), mode);
}

void QuadRenderer::Draw(const SpriteQuad& quad) {
  if (!renderer_ || clipEmpty_ || changesNothing(quad)) return;
  const bool untextured = quad.texture == 0;
  const TextureSlot* slot = untextured ? &white_ : findTexture(quad.texture);
  if (!slot) return;

  ClipVertex corners[4];
  for (int i = 0; i < 4; ++i) {
    const SpriteVertex& source = quad.v[i];
    float x = source.x;
    float y = source.y;
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    if (transformOn_) {
      transformPoint(x, y);
      if (!std::isfinite(x) || !std::isfinite(y)) return;
    }
    const uint32_t c = source.colour;
    corners[i] = {x,
                  y,
                  static_cast<float>((c >> 16) & 0xFF),
                  static_cast<float>((c >> 8) & 0xFF),
                  static_cast<float>(c & 0xFF),
                  static_cast<float>(c >> 24),
                  untextured ? 0.5f : UnitCoordinate(source.tx),
                  untextured ? 0.5f : UnitCoordinate(source.ty)};
  }

  usePage(*slot, quad.blend);
  if (premultiplied_) {
    drawPremultiplied(corners, *slot, quad.blend, untextured);
    return;
  }
  SplitSettings settings;
  if (!untextured) {
    settings.texelsWide = slot->surfaceWidth;
    settings.texelsHigh = slot->surfaceHeight;
  }
  settings.maxAreaTexels = kSoftwareAreaTexelLimit;
  // A quad reaching past the guard rectangle is cut to its visible part:
  // SDL 2.26's software rasteriser overflows on very large triangles and
  // then fills the wrong pixels.
  SoftwareSink sink(batch_, areaOf(*slot));
  SplitQuad(corners, settings, guard_, sink);
}

void QuadRenderer::drawPremultiplied(const ClipVertex (&corners)[4], const TextureSlot& slot, int blend,
                                     bool untextured) {
  PremultipliedSink sink(batch_, areaOf(slot), (blend & kBlendAlpha) == 0);
  if (trimming_ && !untextured) {
    // Texels without alpha change nothing in either blend: a sprite is drawn
    // as the outline of the rest.
    ClipVertex trimmed[kMaxTrimmedVertices];
    int count = TrimQuad(corners, slot.outline, slot.surfaceWidth, slot.surfaceHeight, trimmed);
    if (count >= 0) {
      if (count > 0 && !InsideRect(trimmed, count, guard_)) count = ClipPolygonToRect(trimmed, count, guard_);
      if (count > 0) sink.Polygon(trimmed, count);
      return;
    }
  }
  if (InsideRect(corners, 4, guard_)) {
    sink.Polygon(corners, 4);
    return;
  }
  // Far-reaching quads are cut to the visible part, which keeps coordinates
  // small for the rasteriser.
  SplitSettings settings;
  if (!untextured) {
    settings.texelsWide = slot.surfaceWidth;
    settings.texelsHigh = slot.surfaceHeight;
  }
  SplitQuad(corners, settings, guard_, sink);
}
