// Quad drawing of the shared SDL engine: transform, clipping of oversized
// quads, and the triangles that go into the batch, in page coordinates, with
// premultiplied colours where the renderer blends that way.
#include "engine/sdl/sdl_engine_core.h"

#include <algorithm>
#include <cmath>

#include "engine/sdl/quad_splitter.h"

namespace {

// Half the product of doubled triangle area and texel coordinate at which
// SDL 2.26's software rasteriser starts to read outside the texture.
constexpr double kSoftwareAreaTexelLimit = 268435456.0;  // 2^28

Uint8 colourByte(float value) {
  if (value >= 255.0f) return 255;
  return value > 0.0f ? static_cast<Uint8>(value + 0.5f) : 0;
}

// Clamped into 0..1 (SDL refuses the whole draw for coordinates outside);
// NaN becomes 0.
float unitCoordinate(float value) {
  if (value >= 1.0f) return 1.0f;
  return value > 0.0f ? value : 0.0f;
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

// Hands triangles to the batch for SDL's software renderer, with corrected
// coordinates (see softwareTexels), each triangle with vertices of its own:
// given two triangles forming an upright rectangle, SDL 2.26 takes a
// shortcut that maps texels and blends differently from its triangle path.
class SdlEngineCore::SoftwareSink final : public TriangleSink {
 public:
  SoftwareSink(QuadBatch& batch, const TextureSlot& slot, int pageWidth, int pageHeight)
      : batch_(batch), slot_(slot), pageWidth_(pageWidth), pageHeight_(pageHeight) {}

  void Triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) override {
    SDL_Vertex triangle[3];
    const ClipVertex* in[3] = {&a, &b, &c};
    for (int i = 0; i < 3; ++i) {
      triangle[i].position = {std::floor(in[i]->x + 0.5f), std::floor(in[i]->y + 0.5f)};
      triangle[i].color = {colourByte(in[i]->r), colourByte(in[i]->g), colourByte(in[i]->b), colourByte(in[i]->a)};
    }
    softwareTexels(in, triangle);
    batch_.Triangle(triangle[0], triangle[1], triangle[2]);
  }

 private:
  // SDL 2.26's software rasteriser keeps whole pixels of each corner
  // (truncated) and whole texels of its texture coordinates (truncated),
  // then takes one texel off the largest coordinate of a triangle whose
  // coordinates differ. Corners are therefore rounded to the nearest pixel
  // (so that pixel centres decide coverage), and texture coordinates are
  // given as texel centres, with the largest ones one texel further out (in
  // the page's gutter) to make up for the lost one.
  void softwareTexels(const ClipVertex* (&in)[3], SDL_Vertex (&out)[3]) const {
    for (int axis = 0; axis < 2; ++axis) {
      const int texels = axis == 0 ? slot_.surfaceWidth : slot_.surfaceHeight;
      const int origin = axis == 0 ? slot_.place.x : slot_.place.y;
      const float pageTexels = static_cast<float>(axis == 0 ? pageWidth_ : pageHeight_);
      int texel[3];
      for (int i = 0; i < 3; ++i) {
        const float coordinate = axis == 0 ? in[i]->u : in[i]->v;
        texel[i] = static_cast<int>(std::floor(unitCoordinate(coordinate) * static_cast<float>(texels)));
      }
      const int lowest = std::min({texel[0], texel[1], texel[2]});
      const int highest = std::max({texel[0], texel[1], texel[2]});
      for (int i = 0; i < 3; ++i) {
        const int adjusted = texel[i] + (highest > lowest && texel[i] == highest ? 1 : 0);
        const float centre = (static_cast<float>(origin + adjusted) + 0.5f) / pageTexels;
        (axis == 0 ? out[i].tex_coord.x : out[i].tex_coord.y) = centre;
      }
    }
  }

  QuadBatch& batch_;
  const TextureSlot& slot_;
  const int pageWidth_, pageHeight_;
};

// Hands triangles to the batch with premultiplied vertex colours: an
// alpha-blended vertex carries (r·a, g·a, b·a, a), an additive one
// (r·a, g·a, b·a, 0), which the shared blend state then adds in full.
class SdlEngineCore::PremultipliedSink final : public TriangleSink {
 public:
  PremultipliedSink(QuadBatch& batch, const TextureSlot& slot, int pageWidth, int pageHeight, bool additive)
      : batch_(batch),
        scaleU_(static_cast<float>(slot.surfaceWidth) / static_cast<float>(pageWidth)),
        scaleV_(static_cast<float>(slot.surfaceHeight) / static_cast<float>(pageHeight)),
        originU_(static_cast<float>(slot.place.x) / static_cast<float>(pageWidth)),
        originV_(static_cast<float>(slot.place.y) / static_cast<float>(pageHeight)),
        additive_(additive) {}

  SDL_Vertex Vertex(const ClipVertex& p) const {
    SDL_Vertex v;
    v.position = {p.x, p.y};
    const float alpha = p.a >= 255.0f ? 1.0f : (p.a > 0.0f ? p.a / 255.0f : 0.0f);
    v.color = {colourByte(p.r * alpha), colourByte(p.g * alpha), colourByte(p.b * alpha),
               additive_ ? Uint8{0} : colourByte(p.a)};
    v.tex_coord = {originU_ + unitCoordinate(p.u) * scaleU_, originV_ + unitCoordinate(p.v) * scaleV_};
    return v;
  }

  void Triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) override {
    batch_.Triangle(Vertex(a), Vertex(b), Vertex(c));
  }

  void Polygon(const ClipVertex* points, int count) {
    SDL_Vertex vertices[kMaxTrimmedVertices];
    count = std::min(count, kMaxTrimmedVertices);
    for (int i = 0; i < count; ++i) vertices[i] = Vertex(points[i]);
    batch_.Polygon(vertices, count);
  }

 private:
  QuadBatch& batch_;
  const float scaleU_, scaleV_, originU_, originV_;
  const bool additive_;
};

void SdlEngineCore::usePage(const TextureSlot& slot, int blend) {
  if (states_.textureFilter != linearFilter_) {
    // A page's filter applies to queued draws too: they go out first.
    batch_.Flush();
    SDL_RenderFlush(renderer_.get());
    linearFilter_ = states_.textureFilter;
    for (int page = 0; page < atlas_.PageCount(); ++page)
      if (SDL_Texture* texture = atlas_.Page(page))
        SDL_SetTextureScaleMode(texture, linearFilter_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  }
  const SDL_BlendMode mode =
      premultiplied_ ? sharedBlend_ : ((blend & kBlendAlpha) ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_ADD);
  batch_.Use(atlas_.Page(slot.place.page), mode);
}

void SdlEngineCore::Gfx_RenderQuad(const SpriteQuad* quad) {
  if (!quad || !renderer_ || clipEmpty_ || changesNothing(*quad)) return;
  const bool untextured = quad->texture == 0;
  const TextureSlot* slot = untextured ? &white_ : findTexture(quad->texture);
  if (!slot) return;

  ClipVertex corners[4];
  for (int i = 0; i < 4; ++i) {
    const SpriteVertex& source = quad->v[i];
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
                  untextured ? 0.5f : unitCoordinate(source.tx),
                  untextured ? 0.5f : unitCoordinate(source.ty)};
  }

  usePage(*slot, quad->blend);
  if (premultiplied_) {
    drawPremultiplied(corners, *slot, quad->blend, untextured);
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
  SoftwareSink sink(batch_, *slot, atlas_.PageWidth(slot->place.page), atlas_.PageHeight(slot->place.page));
  SplitQuad(corners, settings, guard_, sink);
}

void SdlEngineCore::drawPremultiplied(const ClipVertex (&corners)[4], const TextureSlot& slot, int blend,
                                      bool untextured) {
  PremultipliedSink sink(batch_, slot, atlas_.PageWidth(slot.place.page), atlas_.PageHeight(slot.place.page),
                         (blend & kBlendAlpha) == 0);
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
