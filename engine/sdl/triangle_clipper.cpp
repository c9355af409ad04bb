// Sutherland-Hodgman clipping of one triangle against the four rectangle edges.
#include "engine/sdl/triangle_clipper.h"

#include <initializer_list>

namespace {

// Room for the polygon while it is cut; writes beyond it are dropped.
constexpr int kWorkVertices = 2 * kMaxClippedVertices;

enum class Edge { Left, Top, Right, Bottom };

// Signed distance inside the edge (>= 0 means kept).
float inside(const ClipVertex& p, Edge edge, const ClipRect& rect) {
  switch (edge) {
    case Edge::Left: return p.x - rect.left;
    case Edge::Top: return p.y - rect.top;
    case Edge::Right: return rect.right - p.x;
    case Edge::Bottom: return rect.bottom - p.y;
  }
  return 0;
}

ClipVertex lerp(const ClipVertex& a, const ClipVertex& b, float t) {
  auto mix = [t](float from, float to) { return from + (to - from) * t; };
  return {mix(a.x, b.x), mix(a.y, b.y), mix(a.r, b.r), mix(a.g, b.g),
          mix(a.b, b.b), mix(a.a, b.a), mix(a.u, b.u), mix(a.v, b.v)};
}

// Places the cut point exactly on the edge so that float rounding in lerp
// cannot leave it a hair outside.
void snapToEdge(ClipVertex& p, Edge edge, const ClipRect& rect) {
  switch (edge) {
    case Edge::Left: p.x = rect.left; break;
    case Edge::Top: p.y = rect.top; break;
    case Edge::Right: p.x = rect.right; break;
    case Edge::Bottom: p.y = rect.bottom; break;
  }
}

int clipAgainst(const ClipVertex* in, int count, Edge edge, const ClipRect& rect, ClipVertex* out) {
  int written = 0;
  for (int i = 0; i < count; ++i) {
    const ClipVertex& current = in[i];
    const ClipVertex& next = in[(i + 1) % count];
    float dc = inside(current, edge, rect);
    float dn = inside(next, edge, rect);
    if (dc >= 0 && written < kWorkVertices) out[written++] = current;
    if ((dc >= 0) != (dn >= 0) && written < kWorkVertices) {
      ClipVertex cut = lerp(current, next, dc / (dc - dn));
      snapToEdge(cut, edge, rect);
      out[written++] = cut;
    }
  }
  return written;
}

}  // namespace

int ClipTriangle(const ClipVertex (&triangle)[3], const ClipRect& rect, ClipVertex (&out)[kMaxClippedVertices]) {
  ClipVertex bufferA[kWorkVertices];
  ClipVertex bufferB[kWorkVertices];
  for (int i = 0; i < 3; ++i) bufferA[i] = triangle[i];
  int count = 3;
  ClipVertex* source = bufferA;
  ClipVertex* target = bufferB;
  for (Edge edge : {Edge::Left, Edge::Top, Edge::Right, Edge::Bottom}) {
    count = clipAgainst(source, count, edge, rect, target);
    if (count == 0) return 0;
    ClipVertex* swap = source;
    source = target;
    target = swap;
  }
  if (count > kMaxClippedVertices) count = kMaxClippedVertices;
  for (int i = 0; i < count; ++i) out[i] = source[i];
  return count < 3 ? 0 : count;
}

bool InsideRect(const ClipVertex* vertices, int count, const ClipRect& rect) {
  for (int i = 0; i < count; ++i) {
    const ClipVertex& p = vertices[i];
    if (!(p.x >= rect.left && p.x <= rect.right && p.y >= rect.top && p.y <= rect.bottom)) return false;
  }
  return true;
}
