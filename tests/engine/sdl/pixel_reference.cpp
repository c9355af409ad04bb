// Reference arithmetic for the pixel tests: blending in doubles, and the
// inverse of the engine's transform to find the texel under each pixel.
#include "tests/engine/sdl/pixel_reference.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/sdl/headless_engine.h"

namespace {

double channel(uint32_t colour, int shift) { return static_cast<double>((colour >> shift) & 0xFF); }

// Where the scene's point in texel space lands: the texel index, -1 for
// outside the quad, -2 for outside the clip rectangle.
int classify(const ParallelogramScene& scene, double px, double py) {
  if (scene.clipX != 0 || scene.clipY != 0 || scene.clipWidth != 0 || scene.clipHeight != 0) {
    if (px < scene.clipX || py < scene.clipY || px >= scene.clipX + scene.clipWidth ||
        py >= scene.clipY + scene.clipHeight)
      return -2;
  }
  double cx = px, cy = py;
  if (scene.hscale != 0 || scene.vscale != 0) {
    // Undo R * S * (p - t) + t + d.
    double qx = px - (scene.tx + scene.tdx);
    double qy = py - (scene.ty + scene.tdy);
    double c = std::cos(static_cast<double>(scene.rotation));
    double s = std::sin(static_cast<double>(scene.rotation));
    double rx = qx * c + qy * s;
    double ry = -qx * s + qy * c;
    cx = rx / scene.hscale + scene.tx;
    cy = ry / scene.vscale + scene.ty;
  }
  // Solve c = origin + a * edge1 + b * edge2.
  double dx = cx - scene.originX, dy = cy - scene.originY;
  double det = static_cast<double>(scene.edge1X) * scene.edge2Y - static_cast<double>(scene.edge1Y) * scene.edge2X;
  double a = (dx * scene.edge2Y - dy * scene.edge2X) / det;
  double b = (scene.edge1X * dy - scene.edge1Y * dx) / det;
  if (a < 0 || a >= 1 || b < 0 || b >= 1) return -1;
  int column = std::min(static_cast<int>(a * scene.image.width), scene.image.width - 1);
  int row = std::min(static_cast<int>(b * scene.image.height), scene.image.height - 1);
  return row * scene.image.width + column;
}

}  // namespace

uint32_t BlendReference(uint32_t screen, uint32_t texel, uint32_t vertex, int blend) {
  double alpha = channel(texel, 24) * channel(vertex, 24) / (255.0 * 255.0);
  uint32_t result = 0xFF000000u;
  for (int shift : {16, 8, 0}) {
    double source = channel(texel, shift) * channel(vertex, shift) / 255.0;
    double target = channel(screen, shift);
    double out = (blend & kBlendAlpha) ? source * alpha + target * (1.0 - alpha) : target + source * alpha;
    result |= static_cast<uint32_t>(std::clamp(std::lround(out), 0L, 255L)) << shift;
  }
  return result;
}

int ChannelDistance(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int shift : {16, 8, 0})
    worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  return worst;
}

SpriteQuad SceneQuad(const ParallelogramScene& scene, HTEXTURE texture, int surfaceWidth, int surfaceHeight) {
  const float u = static_cast<float>(scene.image.width) / static_cast<float>(surfaceWidth);
  const float v = static_cast<float>(scene.image.height) / static_cast<float>(surfaceHeight);
  const float ox = scene.originX, oy = scene.originY;
  SpriteQuad quad{};
  quad.v[0] = {ox, oy, 0.5f, scene.vertexColour, 0, 0};
  quad.v[1] = {ox + scene.edge1X, oy + scene.edge1Y, 0.5f, scene.vertexColour, u, 0};
  quad.v[2] = {ox + scene.edge1X + scene.edge2X, oy + scene.edge1Y + scene.edge2Y, 0.5f, scene.vertexColour, u, v};
  quad.v[3] = {ox + scene.edge2X, oy + scene.edge2Y, 0.5f, scene.vertexColour, 0, v};
  quad.texture = texture;
  quad.blend = scene.blend;
  return quad;
}

std::optional<uint32_t> ExpectedPixel(const ParallelogramScene& scene, int x, int y) {
  const double cx = x + 0.5, cy = y + 0.5;
  const int centre = classify(scene, cx, cy);
  for (auto [ox, oy] : {std::pair{-1.0, 0.0}, {1.0, 0.0}, {0.0, -1.0}, {0.0, 1.0}})
    if (classify(scene, cx + ox, cy + oy) != centre) return std::nullopt;
  if (centre < 0) return scene.background | 0xFF000000u;
  return BlendReference(scene.background, scene.image.argb[static_cast<size_t>(centre)], scene.vertexColour,
                        scene.blend);
}

SceneCheck DrawAndCheck(HeadlessEngine& engine, const ParallelogramScene& scene) {
  SceneCheck check;
  std::vector<uint8_t> png = EncodePng(scene.image);
  HTEXTURE texture = engine.Texture_Load(reinterpret_cast<const char*>(png.data()), static_cast<uint32_t>(png.size()));
  if (texture == 0) {
    check.wrong = 1;
    check.firstWrong = "texture did not load";
    return check;
  }
  engine.Gfx_BeginScene(0);
  engine.Gfx_Clear(scene.background);
  engine.Gfx_SetClipping(scene.clipX, scene.clipY, scene.clipWidth, scene.clipHeight);
  engine.Gfx_SetTransform(scene.tx, scene.ty, scene.tdx, scene.tdy, scene.rotation, scene.hscale, scene.vscale);
  SpriteQuad quad = SceneQuad(scene, texture, engine.Texture_GetWidth(texture), engine.Texture_GetHeight(texture));
  engine.Gfx_RenderQuad(&quad);
  engine.Gfx_EndScene();
  for (int y = 0; y < engine.Height(); ++y) {
    for (int x = 0; x < engine.Width(); ++x) {
      std::optional<uint32_t> want = ExpectedPixel(scene, x, y);
      if (!want) continue;
      ++check.checked;
      uint32_t got = engine.GetPixel(x, y);
      if (ChannelDistance(got, *want) > 3) {
        if (check.wrong++ == 0) {
          char text[96];
          std::snprintf(text, sizeof text, "(%d, %d): got %08X, want %08X", x, y, got, *want);
          check.firstWrong = text;
        }
      }
    }
  }
  engine.Gfx_SetTransform();
  engine.Gfx_SetClipping();
  engine.Texture_Free(texture);
  return check;
}
