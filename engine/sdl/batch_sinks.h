// Triangle sinks that hand the pieces of a quad to the batch as SDL
// vertices in atlas page coordinates: one for SDL's software renderer, one
// with premultiplied colours for renderers that blend that way.
#pragma once

#include "engine/sdl/quad_batch.h"
#include "engine/sdl/quad_splitter.h"
#include "engine/sdl/sprite_trim.h"

// Where an image's surface lies in its atlas page, in texels.
struct PageArea {
  int x = 0, y = 0;                         // the surface's top-left corner in the page
  int surfaceWidth = 0, surfaceHeight = 0;  // u and v run 0..1 over these
  int pageWidth = 0, pageHeight = 0;
};

// Clamped into 0..1 (SDL refuses the whole draw for coordinates outside);
// NaN becomes 0.
inline float UnitCoordinate(float value) {
  if (value >= 1.0f) return 1.0f;
  return value > 0.0f ? value : 0.0f;
}

// Hands triangles to the batch for SDL's software renderer, with corrected
// coordinates (see SoftwareTexels), each triangle with vertices of its own:
// given two triangles forming an upright rectangle, SDL 2.26 takes a
// shortcut that maps texels and blends differently from its triangle path.
class SoftwareSink final : public TriangleSink {
 public:
  SoftwareSink(QuadBatch& batch, const PageArea& area) : batch_(batch), area_(area) {}
  void Triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) override;

 private:
  void SoftwareTexels(const ClipVertex* (&in)[3], SDL_Vertex (&out)[3]) const;

  QuadBatch& batch_;
  const PageArea area_;
};

// Hands triangles and polygons to the batch with premultiplied vertex
// colours: an alpha-blended vertex carries (r·a, g·a, b·a, a), an additive
// one (r·a, g·a, b·a, 0), which the shared blend state then adds in full.
class PremultipliedSink final : public TriangleSink {
 public:
  PremultipliedSink(QuadBatch& batch, const PageArea& area, bool additive);
  void Triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) override {
    batch_.Triangle(Vertex(a), Vertex(b), Vertex(c));
  }
  // A convex polygon of up to kMaxTrimmedVertices corners.
  void Polygon(const ClipVertex* points, int count);

 private:
  SDL_Vertex Vertex(const ClipVertex& p) const;

  QuadBatch& batch_;
  const float scaleU_, scaleV_, originU_, originV_;
  const bool additive_;
};
