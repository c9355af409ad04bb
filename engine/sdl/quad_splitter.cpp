// Quad splitting: pass-through, texel-aligned pieces of a parallelogram, or
// clipped triangles.
#include "engine/sdl/quad_splitter.h"

#include <algorithm>
#include <cmath>

namespace {

// Most cut positions along one side; more would mean a piece count no
// visible area needs, and the quad is clipped by triangles instead.
constexpr int kMaxCuts = 48;

struct Cuts {
  double at[kMaxCuts];  // parameter 0..1 along the side, ascending
  int count = 0;
  bool add(double value) {
    if (count == kMaxCuts) return false;
    at[count++] = value;
    return true;
  }
};

// Every halving halves a triangle's area: this many levels take any triangle
// on a target of 16,384 pixels a side below the area limit of any texture.
constexpr int kMaxHalvings = 40;

double doubledArea(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c) {
  return std::fabs((static_cast<double>(b.x) - a.x) * (static_cast<double>(c.y) - a.y) -
                   (static_cast<double>(c.x) - a.x) * (static_cast<double>(b.y) - a.y));
}

ClipVertex midpoint(const ClipVertex& p, const ClipVertex& q) {
  auto mid = [](float a, float b) { return static_cast<float>((static_cast<double>(a) + b) / 2); };
  return {mid(p.x, q.x), mid(p.y, q.y), mid(p.r, q.r), mid(p.g, q.g),
          mid(p.b, q.b), mid(p.a, q.a), mid(p.u, q.u), mid(p.v, q.v)};
}

// Sends the triangle, halved across its longest side (keeping the winding)
// until every part's doubled area is at most maxDoubledArea (0: no limit).
// Colours and texture coordinates are linear over a triangle, so the parts
// show exactly what the whole would.
void sendWithin(const ClipVertex& a, const ClipVertex& b, const ClipVertex& c, double maxDoubledArea, int halvings,
                TriangleSink& sink) {
  if (!(maxDoubledArea > 0) || halvings == 0 || !(doubledArea(a, b, c) > maxDoubledArea)) {
    sink.Triangle(a, b, c);
    return;
  }
  auto squared = [](const ClipVertex& p, const ClipVertex& q) {
    const double dx = static_cast<double>(q.x) - p.x, dy = static_cast<double>(q.y) - p.y;
    return dx * dx + dy * dy;
  };
  const double ab = squared(a, b), bc = squared(b, c), ca = squared(c, a);
  if (ab >= bc && ab >= ca) {
    const ClipVertex m = midpoint(a, b);
    sendWithin(a, m, c, maxDoubledArea, halvings - 1, sink);
    sendWithin(m, b, c, maxDoubledArea, halvings - 1, sink);
  } else if (bc >= ca) {
    const ClipVertex m = midpoint(b, c);
    sendWithin(a, b, m, maxDoubledArea, halvings - 1, sink);
    sendWithin(a, m, c, maxDoubledArea, halvings - 1, sink);
  } else {
    const ClipVertex m = midpoint(c, a);
    sendWithin(a, b, m, maxDoubledArea, halvings - 1, sink);
    sendWithin(m, b, c, maxDoubledArea, halvings - 1, sink);
  }
}

void clipTriangles(const ClipVertex (&corners)[4], const ClipRect& guard, double maxDoubledArea, TriangleSink& sink) {
  constexpr int kTriangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
  for (const auto& triangle : kTriangles) {
    const ClipVertex in[3] = {corners[triangle[0]], corners[triangle[1]], corners[triangle[2]]};
    ClipVertex out[kMaxClippedVertices];
    const int count = ClipTriangle(in, guard, out);
    for (int i = 1; i + 1 < count; ++i) sendWithin(out[0], out[i], out[i + 1], maxDoubledArea, kMaxHalvings, sink);
  }
}

// The highest texel coordinate the quad samples, plus the texel that the
// software renderer's texel correction may add and one for rounding.
double highestTexel(const ClipVertex (&c)[4], const SplitSettings& settings) {
  auto unit = [](float value) { return value >= 1.0f ? 1.0 : value > 0.0f ? static_cast<double>(value) : 0.0; };
  double highest = 0;
  for (const ClipVertex& v : c)
    highest = std::max({highest, unit(v.u) * settings.texelsWide, unit(v.v) * settings.texelsHigh});
  return highest + 2;
}

bool isTexturedParallelogram(const ClipVertex (&c)[4], const SplitSettings& settings) {
  if (settings.texelsWide <= 0 || settings.texelsHigh <= 0) return false;
  if (c[0].u != c[3].u || c[1].u != c[2].u || c[0].v != c[1].v || c[2].v != c[3].v) return false;
  const double extent =
      std::fabs(c[1].x - c[0].x) + std::fabs(c[1].y - c[0].y) + std::fabs(c[3].x - c[0].x) + std::fabs(c[3].y - c[0].y);
  const double tolerance = 1e-4 * extent + 1e-3;
  return std::fabs((static_cast<double>(c[0].x) + c[2].x) - (static_cast<double>(c[1].x) + c[3].x)) <= tolerance &&
         std::fabs((static_cast<double>(c[0].y) + c[2].y) - (static_cast<double>(c[1].y) + c[3].y)) <= tolerance;
}

// Cut positions over [lo, hi] (parameters along a side of the given length
// in pixels, whose texel coordinate runs from texelStart to texelEnd).
// Magnified textures are cut on whole texels: the outer cuts move out to the
// nearest texel edge unless that adds much unseen area, in which case the
// outer piece stays inside a single texel. False when too many pieces.
bool cutSide(double lo, double hi, double texelStart, double texelEnd, double length, double maxSpan, Cuts& cuts) {
  const double texelSpan = std::fabs(texelEnd - texelStart);
  const double pixelsPerTexel = texelSpan > 0 ? length / texelSpan : 0;
  if (!(pixelsPerTexel > 1.0)) {
    // Minified (or no texture along this side): whole texels are at most a
    // pixel apart anyway; only the piece size matters.
    const int pieces = std::max(1, static_cast<int>(std::ceil((hi - lo) * length / maxSpan)));
    if (pieces + 1 > kMaxCuts) return false;
    for (int i = 0; i <= pieces; ++i) cuts.add(lo + (hi - lo) * i / pieces);
    return true;
  }
  auto texelAt = [&](double t) { return texelStart + t * (texelEnd - texelStart); };
  auto parameterAt = [&](double texel) { return (texel - texelStart) / (texelEnd - texelStart); };
  const double quadLow = std::min(texelStart, texelEnd), quadHigh = std::max(texelStart, texelEnd);
  double low = std::min(texelAt(lo), texelAt(hi));
  double high = std::max(texelAt(lo), texelAt(hi));
  // Out to whole texels where that costs little.
  const double slack = maxSpan / 4;
  const double lowEdge = std::max(std::floor(low), quadLow);
  const double highEdge = std::min(std::ceil(high), quadHigh);
  if ((low - lowEdge) * pixelsPerTexel <= slack) low = lowEdge;
  if ((highEdge - high) * pixelsPerTexel <= slack) high = highEdge;
  const double step = std::max(1.0, std::floor(maxSpan / pixelsPerTexel));

  double texels[kMaxCuts];
  int count = 0;
  texels[count++] = low;
  // Whole-texel cuts inside; a fractional end gets a cut at the texel edge
  // next to it, so that the end piece lies within one texel.
  double next = std::floor(low) + 1;
  if (next - low > 1e-9 && next < high && low != std::floor(low)) texels[count++] = next;
  double edge = texels[count - 1];
  const double lastEdge = high != std::floor(high) ? std::floor(high) : high;
  while (edge + step < lastEdge) {
    if (count + 3 > kMaxCuts) return false;
    edge += step;
    texels[count++] = edge;
  }
  if (lastEdge > texels[count - 1] && lastEdge < high) texels[count++] = lastEdge;
  if (high > texels[count - 1]) texels[count++] = high;

  for (int i = 0; i < count; ++i) cuts.add(std::clamp(parameterAt(texels[i]), 0.0, 1.0));
  std::sort(cuts.at, cuts.at + cuts.count);
  return true;
}

// Cuts every piece longer than maxSpan pixels into equal parts. Only pieces
// within one texel are that long (a texel larger than maxSpan), so the new
// cuts keep every piece within one texel.
bool refineSide(double length, double maxSpan, Cuts& cuts) {
  Cuts refined;
  for (int i = 0; i < cuts.count; ++i) {
    if (i > 0) {
      const double from = cuts.at[i - 1], to = cuts.at[i];
      const double parts = std::ceil((to - from) * length / maxSpan);
      for (int k = 1; k < parts; ++k)
        if (!refined.add(from + (to - from) * k / parts)) return false;
    }
    if (!refined.add(cuts.at[i])) return false;
  }
  cuts = refined;
  return true;
}

// The vertex at parameters (a, b) of the parallelogram, coloured as the
// quad's two triangles colour that point.
ClipVertex pointAt(const ClipVertex (&c)[4], double a, double b) {
  ClipVertex p;
  p.x = static_cast<float>(c[0].x + a * (static_cast<double>(c[1].x) - c[0].x) +
                           b * (static_cast<double>(c[3].x) - c[0].x));
  p.y = static_cast<float>(c[0].y + a * (static_cast<double>(c[1].y) - c[0].y) +
                           b * (static_cast<double>(c[3].y) - c[0].y));
  p.u = static_cast<float>(c[0].u + a * (static_cast<double>(c[1].u) - c[0].u));
  p.v = static_cast<float>(c[0].v + b * (static_cast<double>(c[3].v) - c[0].v));
  double w0, w1, w2;
  const ClipVertex* third;
  if (b <= a) {  // triangle 0 1 2
    w0 = 1 - a, w1 = a - b, w2 = b;
    third = &c[1];
  } else {  // triangle 0 2 3 (weights of 0, 3, 2)
    w0 = 1 - b, w1 = b - a, w2 = a;
    third = &c[3];
  }
  auto mix = [&](float ClipVertex::*channel) {
    return static_cast<float>(w0 * (c[0].*channel) + w1 * ((*third).*channel) + w2 * (c[2].*channel));
  };
  p.r = mix(&ClipVertex::r);
  p.g = mix(&ClipVertex::g);
  p.b = mix(&ClipVertex::b);
  p.a = mix(&ClipVertex::a);
  return p;
}

// False when the quad needs the triangle clipper instead.
bool splitParallelogram(const ClipVertex (&c)[4], const SplitSettings& settings, const ClipRect& guard,
                        TriangleSink& sink) {
  const double e1x = static_cast<double>(c[1].x) - c[0].x, e1y = static_cast<double>(c[1].y) - c[0].y;
  const double e2x = static_cast<double>(c[3].x) - c[0].x, e2y = static_cast<double>(c[3].y) - c[0].y;
  const double det = e1x * e2y - e1y * e2x;
  if (!(std::fabs(det) > 1e-9) || !std::isfinite(det)) return true;  // no area: nothing to draw
  // The guard's corners in the quad's own parameters.
  double aLow = 1, aHigh = 0, bLow = 1, bHigh = 0;
  for (auto [gx, gy] : {std::pair{guard.left, guard.top},
                        {guard.right, guard.top},
                        {guard.right, guard.bottom},
                        {guard.left, guard.bottom}}) {
    const double dx = gx - static_cast<double>(c[0].x), dy = gy - static_cast<double>(c[0].y);
    const double a = (dx * e2y - dy * e2x) / det;
    const double b = (e1x * dy - e1y * dx) / det;
    aLow = std::min(aLow, a), aHigh = std::max(aHigh, a);
    bLow = std::min(bLow, b), bHigh = std::max(bHigh, b);
  }
  aLow = std::max(aLow, 0.0), aHigh = std::min(aHigh, 1.0);
  bLow = std::max(bLow, 0.0), bHigh = std::min(bHigh, 1.0);
  if (!(aLow < aHigh) || !(bLow < bHigh)) return true;  // entirely outside

  Cuts across, down;
  const double length1 = std::hypot(e1x, e1y), length2 = std::hypot(e2x, e2y);
  if (!cutSide(aLow, aHigh, c[0].u * static_cast<double>(settings.texelsWide),
               c[1].u * static_cast<double>(settings.texelsWide), length1, settings.maxPieceSpan, across) ||
      !cutSide(bLow, bHigh, c[0].v * static_cast<double>(settings.texelsHigh),
               c[3].v * static_cast<double>(settings.texelsHigh), length2, settings.maxPieceSpan, down) ||
      !refineSide(length1, settings.maxPieceSpan, across) || !refineSide(length2, settings.maxPieceSpan, down))
    return false;
  for (int j = 0; j + 1 < down.count; ++j) {
    if (!(down.at[j] < down.at[j + 1])) continue;
    for (int i = 0; i + 1 < across.count; ++i) {
      if (!(across.at[i] < across.at[i + 1])) continue;
      const ClipVertex p0 = pointAt(c, across.at[i], down.at[j]);
      const ClipVertex p1 = pointAt(c, across.at[i + 1], down.at[j]);
      const ClipVertex p2 = pointAt(c, across.at[i + 1], down.at[j + 1]);
      const ClipVertex p3 = pointAt(c, across.at[i], down.at[j + 1]);
      sink.Triangle(p0, p1, p2);
      sink.Triangle(p0, p2, p3);
    }
  }
  return true;
}

}  // namespace

void SplitQuad(const ClipVertex (&corners)[4], const SplitSettings& settings, const ClipRect& guard,
               TriangleSink& sink) {
  // With an area limit, pieces whose sides stay within the span below keep
  // within it too (a parallelogram's doubled triangle area is at most the
  // product of its sides).
  SplitSettings limited = settings;
  double maxDoubledArea = 0;
  if (settings.maxAreaTexels > 0) {
    maxDoubledArea = settings.maxAreaTexels / highestTexel(corners, settings);
    limited.maxPieceSpan = static_cast<float>(std::min<double>(settings.maxPieceSpan, std::sqrt(maxDoubledArea)));
  }
  if (InsideRect(corners, 4, guard) &&
      (maxDoubledArea == 0 || (doubledArea(corners[0], corners[1], corners[2]) <= maxDoubledArea &&
                               doubledArea(corners[0], corners[2], corners[3]) <= maxDoubledArea))) {
    sink.Triangle(corners[0], corners[1], corners[2]);
    sink.Triangle(corners[0], corners[2], corners[3]);
    return;
  }
  if (isTexturedParallelogram(corners, settings) && splitParallelogram(corners, limited, guard, sink)) return;
  clipTriangles(corners, guard, maxDoubledArea, sink);
}
