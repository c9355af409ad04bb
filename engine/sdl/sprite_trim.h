// Trimming sprites to the part of their image that can show: a convex
// outline of at most 8 corners around every texel with alpha, and the quad
// drawn as that outline cut to the quad's texture rectangle. Plain
// arithmetic, no SDL.
#pragma once

#include <cstdint>

#include "engine/sdl/triangle_clipper.h"

// Corners in texels of the surface (0..width across, 0..height down).
struct SpriteOutline {
  static constexpr int kMaxCorners = 8;
  float s[kMaxCorners] = {};
  float t[kMaxCorners] = {};
  int count = 0;  // 0: no texel has alpha, nothing of the image can show
};

// The outline of the ARGB texels (pitch in texels): the bounding box cut by
// its four 45° bounding lines, around every texel with non-zero alpha grown
// by one texel on each side, so that linear filtering next to such a texel
// stays inside too.
SpriteOutline OutlineOfTexels(const uint32_t* argb, int width, int height, int pitch);

// Room for the trimmed polygon: the outline cut by a rectangle and by the
// guard rectangle.
constexpr int kMaxTrimmedVertices = 24;

// When the quad is an affine image of a rectangle of its texture (corners
// 0-3 share u, 0-1 share v, opposite sides parallel) with one colour on all
// corners, writes the outline cut to that rectangle, mapped onto the quad
// with the same affine map (positions, texture coordinates, colour), and
// returns its vertex count: 0 when nothing of the image shows. Returns -1
// for any other quad, which is to be drawn whole. texelsWide and texelsHigh
// are the surface's size; u and v of the corners run 0..1 over it.
int TrimQuad(const ClipVertex (&corners)[4], const SpriteOutline& outline, int texelsWide, int texelsHigh,
             ClipVertex (&out)[kMaxTrimmedVertices]);

// Cuts a convex polygon to the rectangle in place; returns the new count
// (0 when nothing is left). Attributes are interpolated linearly.
int ClipPolygonToRect(ClipVertex (&polygon)[kMaxTrimmedVertices], int count, const ClipRect& rect);
