// Clips a triangle with colour and texture coordinates to an axis-aligned
// rectangle. Plain arithmetic, no SDL: the SDL renderers draw what it returns.
#pragma once

struct ClipVertex {
  float x, y;        // target pixels
  float r, g, b, a;  // 0..255
  float u, v;        // 0..1 across the texture
};

struct ClipRect {
  float left, top, right, bottom;
};

// Room for the clipped polygon: a triangle cut by four edges has at most 7
// vertices; the rest is headroom for float rounding on near-degenerate input.
constexpr int kMaxClippedVertices = 12;

// Writes the convex polygon that is the part of the triangle inside the
// rectangle into out (in order) and returns its
// vertex count: 0 when nothing is left. Colours and texture coordinates are
// interpolated linearly along the cut edges, so every point inside keeps the
// values it had in the whole triangle.
int ClipTriangle(const ClipVertex (&triangle)[3], const ClipRect& rect, ClipVertex (&out)[kMaxClippedVertices]);

// True when all points lie inside the rectangle (edges included).
bool InsideRect(const ClipVertex* vertices, int count, const ClipRect& rect);
