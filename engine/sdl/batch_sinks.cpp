// The two ways quad pieces become SDL vertices: rounded corners and texel
// centres for SDL's software rasteriser, premultiplied colours otherwise.
#include "engine/sdl/batch_sinks.h"

#include <algorithm>
#include <cmath>

namespace {

Uint8 colourByte(float value) {
  if (value >= 255.0f) return 255;
  return value > 0.0f ? static_cast<Uint8>(value + 0.5f) : 0;
}

}  // namespace

void SoftwareSink::Triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) {
  SDL_Vertex triangle[3];
  const ClipVertex* in[3] = {&a, &b, &c};
  for (int i = 0; i < 3; ++i) {
    triangle[i].position = {std::floor(in[i]->x + 0.5f), std::floor(in[i]->y + 0.5f)};
    triangle[i].color = {colourByte(in[i]->r), colourByte(in[i]->g), colourByte(in[i]->b), colourByte(in[i]->a)};
  }
  SoftwareTexels(in, triangle);
  batch_.Triangle(triangle[0], triangle[1], triangle[2]);
}

// SDL 2.26's software rasteriser keeps whole pixels of each corner
// (truncated) and whole texels of its texture coordinates (truncated), then
// takes one texel off the largest coordinate of a triangle whose
// coordinates differ. Corners are therefore rounded to the nearest pixel (so
// that pixel centres decide coverage), and texture coordinates are given as
// texel centres, with the largest ones one texel further out (in the page's
// gutter) to make up for the lost one.
void SoftwareSink::SoftwareTexels(const ClipVertex* (&in)[3], SDL_Vertex (&out)[3]) const {
  for (int axis = 0; axis < 2; ++axis) {
    const int texels = axis == 0 ? area_.surfaceWidth : area_.surfaceHeight;
    const int origin = axis == 0 ? area_.x : area_.y;
    const float pageTexels = static_cast<float>(axis == 0 ? area_.pageWidth : area_.pageHeight);
    int texel[3];
    for (int i = 0; i < 3; ++i) {
      const float coordinate = axis == 0 ? in[i]->u : in[i]->v;
      texel[i] = static_cast<int>(std::floor(UnitCoordinate(coordinate) * static_cast<float>(texels)));
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

PremultipliedSink::PremultipliedSink(QuadBatch& batch, const PageArea& area, bool additive)
    : batch_(batch),
      scaleU_(static_cast<float>(area.surfaceWidth) / static_cast<float>(area.pageWidth)),
      scaleV_(static_cast<float>(area.surfaceHeight) / static_cast<float>(area.pageHeight)),
      originU_(static_cast<float>(area.x) / static_cast<float>(area.pageWidth)),
      originV_(static_cast<float>(area.y) / static_cast<float>(area.pageHeight)),
      additive_(additive) {}

SDL_Vertex PremultipliedSink::Vertex(const ClipVertex& p) const {
  SDL_Vertex v;
  v.position = {p.x, p.y};
  const float alpha = p.a >= 255.0f ? 1.0f : (p.a > 0.0f ? p.a / 255.0f : 0.0f);
  v.color = {colourByte(p.r * alpha), colourByte(p.g * alpha), colourByte(p.b * alpha),
             additive_ ? Uint8{0} : colourByte(p.a)};
  v.tex_coord = {originU_ + UnitCoordinate(p.u) * scaleU_, originV_ + UnitCoordinate(p.v) * scaleV_};
  return v;
}

void PremultipliedSink::Polygon(const ClipVertex* points, int count) {
  SDL_Vertex vertices[kMaxTrimmedVertices];
  count = std::min(count, kMaxTrimmedVertices);
  for (int i = 0; i < count; ++i) vertices[i] = Vertex(points[i]);
  batch_.Polygon(vertices, count);
}
