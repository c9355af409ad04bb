// Sprite outlines (bounding box and 45° bounding lines) and trimming a quad
// to the outline by half-plane clipping.
#include "engine/sdl/sprite_trim.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

ClipVertex lerp(const ClipVertex& a, const ClipVertex& b, float t) {
  auto mix = [t](float from, float to) { return from + (to - from) * t; };
  return {mix(a.x, b.x), mix(a.y, b.y), mix(a.r, b.r), mix(a.g, b.g),
          mix(a.b, b.b), mix(a.a, b.a), mix(a.u, b.u), mix(a.v, b.v)};
}

// Keeps the part of the convex polygon where inside(p) >= 0.
template <typename Inside>
int clipHalfPlane(const ClipVertex* in, int count, ClipVertex* out, int room, Inside inside) {
  int written = 0;
  for (int i = 0; i < count; ++i) {
    const ClipVertex& current = in[i];
    const ClipVertex& next = in[(i + 1) % count];
    const float dc = inside(current), dn = inside(next);
    if (dc >= 0 && written < room) out[written++] = current;
    if ((dc >= 0) != (dn >= 0) && written < room) out[written++] = lerp(current, next, dc / (dc - dn));
  }
  return written < 3 ? 0 : written;
}

template <typename Inside>
int clipInPlace(ClipVertex (&polygon)[kMaxTrimmedVertices], int count, Inside inside) {
  ClipVertex cut[kMaxTrimmedVertices];
  count = clipHalfPlane(polygon, count, cut, kMaxTrimmedVertices, inside);
  std::copy(cut, cut + count, polygon);
  return count;
}

}  // namespace

SpriteOutline OutlineOfTexels(const uint32_t* argb, int width, int height, int pitch) {
  SpriteOutline outline;
  int minX = INT_MAX, maxX = INT_MIN, minY = INT_MAX, maxY = INT_MIN;
  int minSum = INT_MAX, maxSum = INT_MIN, minDifference = INT_MAX, maxDifference = INT_MIN;
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = argb + static_cast<long>(y) * pitch;
    for (int x = 0; x < width; ++x) {
      if ((row[x] >> 24) == 0) continue;
      minX = std::min(minX, x), maxX = std::max(maxX, x);
      minY = std::min(minY, y), maxY = std::max(maxY, y);
      minSum = std::min(minSum, x + y), maxSum = std::max(maxSum, x + y);
      minDifference = std::min(minDifference, x - y), maxDifference = std::max(maxDifference, x - y);
    }
  }
  if (minX == INT_MAX) return outline;
  // Texel (x, y) covers [x, x + 1] × [y, y + 1]; grown by one texel it is
  // [x - 1, x + 2] × [y - 1, y + 2], whose corners bound s + t and s - t.
  ClipVertex polygon[kMaxTrimmedVertices] = {};
  const float left = static_cast<float>(std::max(minX - 1, 0)), right = static_cast<float>(std::min(maxX + 2, width));
  const float top = static_cast<float>(std::max(minY - 1, 0)), bottom = static_cast<float>(std::min(maxY + 2, height));
  polygon[0].x = left, polygon[0].y = top;
  polygon[1].x = right, polygon[1].y = top;
  polygon[2].x = right, polygon[2].y = bottom;
  polygon[3].x = left, polygon[3].y = bottom;
  int count = 4;
  const float sumLow = static_cast<float>(minSum - 2), sumHigh = static_cast<float>(maxSum + 4);
  const float differenceLow = static_cast<float>(minDifference - 3);
  const float differenceHigh = static_cast<float>(maxDifference + 3);
  count = clipInPlace(polygon, count, [&](const ClipVertex& p) { return p.x + p.y - sumLow; });
  count = clipInPlace(polygon, count, [&](const ClipVertex& p) { return sumHigh - (p.x + p.y); });
  count = clipInPlace(polygon, count, [&](const ClipVertex& p) { return p.x - p.y - differenceLow; });
  count = clipInPlace(polygon, count, [&](const ClipVertex& p) { return differenceHigh - (p.x - p.y); });
  // A box cut by four lines has at most eight corners; rounding cannot add
  // any, as the lines are whole or half texels apart.
  outline.count = std::min(count, SpriteOutline::kMaxCorners);
  for (int i = 0; i < outline.count; ++i) {
    outline.s[i] = polygon[i].x;
    outline.t[i] = polygon[i].y;
  }
  return outline;
}

int ClipPolygonToRect(ClipVertex (&polygon)[kMaxTrimmedVertices], int count, const ClipRect& rect) {
  if (count < 3) return 0;
  count = clipInPlace(polygon, count, [&](const ClipVertex& p) { return p.x - rect.left; });
  if (count) count = clipInPlace(polygon, count, [&](const ClipVertex& p) { return rect.right - p.x; });
  if (count) count = clipInPlace(polygon, count, [&](const ClipVertex& p) { return p.y - rect.top; });
  if (count) count = clipInPlace(polygon, count, [&](const ClipVertex& p) { return rect.bottom - p.y; });
  return count;
}

int TrimQuad(const ClipVertex (&c)[4], const SpriteOutline& outline, int texelsWide, int texelsHigh,
             ClipVertex (&out)[kMaxTrimmedVertices]) {
  if (texelsWide <= 0 || texelsHigh <= 0) return -1;
  for (int i = 1; i < 4; ++i)
    if (c[i].r != c[0].r || c[i].g != c[0].g || c[i].b != c[0].b || c[i].a != c[0].a) return -1;
  if (c[0].u != c[3].u || c[1].u != c[2].u || c[0].v != c[1].v || c[2].v != c[3].v) return -1;
  if (c[0].u == c[1].u || c[0].v == c[3].v) return -1;
  const double e1x = static_cast<double>(c[1].x) - c[0].x, e1y = static_cast<double>(c[1].y) - c[0].y;
  const double e2x = static_cast<double>(c[3].x) - c[0].x, e2y = static_cast<double>(c[3].y) - c[0].y;
  const double extent = std::fabs(e1x) + std::fabs(e1y) + std::fabs(e2x) + std::fabs(e2y);
  const double tolerance = 1e-4 * extent + 1e-3;
  if (!(std::fabs(static_cast<double>(c[0].x) + c[2].x - c[1].x - c[3].x) <= tolerance) ||
      !(std::fabs(static_cast<double>(c[0].y) + c[2].y - c[1].y - c[3].y) <= tolerance))
    return -1;
  if (outline.count == 0) return 0;

  // The outline in texels, cut to the quad's texture rectangle.
  const double w = texelsWide, h = texelsHigh;
  const double s0 = c[0].u * w, s1 = c[1].u * w, t0 = c[0].v * h, t1 = c[3].v * h;
  int count = outline.count;
  for (int i = 0; i < count; ++i) {
    out[i] = c[0];
    out[i].x = outline.s[i];
    out[i].y = outline.t[i];
  }
  const ClipRect window{static_cast<float>(std::min(s0, s1)), static_cast<float>(std::min(t0, t1)),
                        static_cast<float>(std::max(s0, s1)), static_cast<float>(std::max(t0, t1))};
  count = ClipPolygonToRect(out, count, window);

  // Texels to the quad: the affine map that takes the texture rectangle's
  // corners to the quad's.
  for (int i = 0; i < count; ++i) {
    const double s = out[i].x, t = out[i].y;
    const double a = (s - s0) / (s1 - s0), b = (t - t0) / (t1 - t0);
    out[i].x = static_cast<float>(c[0].x + a * e1x + b * e2x);
    out[i].y = static_cast<float>(c[0].y + a * e1y + b * e2y);
    out[i].u = static_cast<float>(s / w);
    out[i].v = static_cast<float>(t / h);
  }
  return count;
}
