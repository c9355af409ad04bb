// Turns one transformed quad into the triangles to draw: as it is when it
// lies within the guard rectangle, else only its visible part, cut so that
// texture mapping stays exact. Plain arithmetic, no SDL.
#pragma once

#include "engine/sdl/triangle_clipper.h"

class TriangleSink {
 public:
  virtual void Triangle(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) = 0;

 protected:
  ~TriangleSink() = default;
};

struct SplitSettings {
  // Texels of the texture surface across and down (u and v run 0..1 over
  // them); 0 for an untextured quad.
  int texelsWide = 0;
  int texelsHigh = 0;
  // Longest side, in pixels, of the pieces a quad reaching past the guard is
  // cut into (renderers with fixed-point rasterisers overflow on larger ones).
  float maxPieceSpan = 1024.0f;
  // Largest product of a triangle's doubled area in square pixels and the
  // highest texel coordinate it samples; 0 for no limit. SDL 2.26's software
  // rasteriser interpolates texture coordinates in 32-bit integers and reads
  // outside the texture once that product passes about 2^29.
  double maxAreaTexels = 0;
};

// Sends the triangles (0 1 2) and (0 2 3) when all corners lie in the guard
// rectangle and both keep within maxAreaTexels. Otherwise only what lies
// inside is sent: a parallelogram with a rectangular texture window (every
// sprite, turned or not) is cut along whole texels, so that each piece's
// corners sit on texel edges and a renderer that keeps only whole texels at
// the corners still maps it exactly; pieces stay within maxPieceSpan and maxAreaTexels. Any other quad
// is clipped triangle by triangle, and triangles past maxAreaTexels are
// halved until they fit. Vertex colours keep the values the two triangles
// give them.
void SplitQuad(const ClipVertex (&corners)[4], const SplitSettings& settings, const ClipRect& guard,
               TriangleSink& sink);
