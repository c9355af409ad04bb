// Sprite outlines and trimmed quads: the outline holds every texel with
// alpha (grown by one), trimming keeps to the quad's texture rectangle and
// refuses quads it cannot map, and over the whole catalogue a trimmed
// sprite draws the same pixels as the whole quad.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/sdl/headless_engine.h"
#include "engine/sdl/sprite_trim.h"
#include "tests/engine/sdl/pixel_reference.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr const char* kMesaLeaks = "Mesa's OpenGL driver leaves allocations LeakSanitizer reports";
#endif

// True when the point lies inside the convex outline (edges included).
bool insideOutline(const SpriteOutline& outline, float s, float t) {
  float sign = 0;
  for (int i = 0; i < outline.count; ++i) {
    const int j = (i + 1) % outline.count;
    const float cross =
        (outline.s[j] - outline.s[i]) * (t - outline.t[i]) - (outline.t[j] - outline.t[i]) * (s - outline.s[i]);
    if (std::fabs(cross) < 1e-4f) continue;
    if (sign == 0) sign = cross;
    if ((cross > 0) != (sign > 0)) return false;
  }
  return true;
}

TEST(SpriteOutline, HoldsEveryTexelWithAlphaGrownByOne) {
  struct Case {
    const char* name;
    int width, height;
    std::vector<std::pair<int, int>> texels;  // texels with alpha
  };
  const Case cases[] = {
      {"OneTexelInTheMiddle", 16, 16, {{7, 8}}},
      {"CornerTexelsClampToTheSurface", 8, 8, {{0, 0}, {7, 7}}},
      {"Diagonal", 32, 32, {{2, 3}, {10, 11}, {28, 29}}},
      {"AntiDiagonalAndAWideRow", 32, 16, {{30, 1}, {1, 14}, {5, 8}, {20, 8}}},
      {"Nothing", 8, 8, {}},
  };
  for (const Case& c : cases) {
    std::vector<uint32_t> argb(static_cast<size_t>(c.width * c.height), 0x00FFFFFFu);
    for (auto [x, y] : c.texels) argb[static_cast<size_t>(y * c.width + x)] = 0x01000000u;
    const SpriteOutline outline = OutlineOfTexels(argb.data(), c.width, c.height, c.width);
    EXPECT_EQ(outline.count == 0, c.texels.empty()) << c.name;
    EXPECT_LE(outline.count, SpriteOutline::kMaxCorners) << c.name;
    for (auto [x, y] : c.texels) {
      // The grown texel's corners, as far as they lie on the surface.
      for (int dx : {-1, 2})
        for (int dy : {-1, 2}) {
          const float s = std::clamp(static_cast<float>(x + dx), 0.0f, static_cast<float>(c.width));
          const float t = std::clamp(static_cast<float>(y + dy), 0.0f, static_cast<float>(c.height));
          EXPECT_TRUE(insideOutline(outline, s, t)) << c.name << ": texel " << x << "," << y;
        }
    }
  }
}

TEST(SpriteOutline, TrimmingKeepsToTheRectangleAndRefusesOtherQuads) {
  std::vector<uint32_t> argb(64 * 64, 0);
  argb[20 * 64 + 30] = 0xFF000000u;
  const SpriteOutline outline = OutlineOfTexels(argb.data(), 64, 64, 64);
  auto corner = [](float x, float y, float u, float v) { return ClipVertex{x, y, 255, 255, 255, 200, u, v}; };
  // Texels 16..48 across and 16..32 down, drawn 2 pixels per texel from (100, 50).
  ClipVertex quad[4] = {corner(100, 50, 0.25f, 0.25f), corner(164, 50, 0.75f, 0.25f), corner(164, 82, 0.75f, 0.5f),
                        corner(100, 82, 0.25f, 0.5f)};
  ClipVertex out[kMaxTrimmedVertices];
  const int count = TrimQuad(quad, outline, 64, 64, out);
  ASSERT_GE(count, 3);
  for (int i = 0; i < count; ++i) {
    // Within the quad, and mapped as the quad maps texels to pixels.
    EXPECT_GE(out[i].x, 100.0f - 1e-3f);
    EXPECT_LE(out[i].x, 164.0f + 1e-3f);
    EXPECT_LE(out[i].y, 82.0f + 1e-3f);
    EXPECT_NEAR(out[i].x, 100 + (out[i].u * 64 - 16) * 2, 1e-3);
    EXPECT_NEAR(out[i].y, 50 + (out[i].v * 64 - 16) * 2, 1e-3);
    EXPECT_EQ(out[i].a, 200.0f);
  }
  // The texel's grown square ends at row 22, far inside the quad's rows.
  float lowest = 0;
  for (int i = 0; i < count; ++i) lowest = std::max(lowest, out[i].y);
  EXPECT_NEAR(lowest, 50 + (22 - 16) * 2, 1e-3);

  ClipVertex away[4] = {corner(0, 0, 0, 0.5f), corner(10, 0, 0.25f, 0.5f), corner(10, 10, 0.25f, 1),
                        corner(0, 10, 0, 1)};
  EXPECT_EQ(TrimQuad(away, outline, 64, 64, out), 0) << "no texel with alpha in the rectangle";
  ClipVertex tinted[4] = {quad[0], quad[1], quad[2], quad[3]};
  tinted[2].r = 10;
  EXPECT_EQ(TrimQuad(tinted, outline, 64, 64, out), -1) << "corner colours differ";
  ClipVertex skewed[4] = {quad[0], quad[1], quad[2], quad[3]};
  skewed[2].x += 9;
  EXPECT_EQ(TrimQuad(skewed, outline, 64, 64, out), -1) << "not a parallelogram";
}

// Every catalogue image, magnified, turned and half transparent, in both
// blends: trimmed and whole quads give the same pixels on OpenGL.
TEST(SpriteOutline, TrimmedCatalogueSpritesDrawLikeWholeQuads) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << kMesaLeaks;
#endif
  const std::filesystem::path pix = std::filesystem::path(DRIFTGLOW_RUN_DIR) / "pix";
  ASSERT_TRUE(std::filesystem::is_directory(pix)) << pix;
  HeadlessEngine engine(200, 200, HeadlessRenderer::OpenGL);
  engine.System_SetState(BoolState::UseSound, false);
  if (!engine.System_Initiate()) GTEST_SKIP() << "no OpenGL: " << engine.System_GetErrorMessage();
  int images = 0;
  for (const auto& entry : std::filesystem::directory_iterator(pix)) {
    const HTEXTURE texture = engine.Texture_Load(entry.path().string().c_str());
    ASSERT_NE(texture, 0u) << entry.path();
    ++images;
    const float u = static_cast<float>(engine.Texture_GetWidth(texture, true)) / engine.Texture_GetWidth(texture);
    const float v = static_cast<float>(engine.Texture_GetHeight(texture, true)) / engine.Texture_GetHeight(texture);
    const float c = std::cos(0.6f) * 90, s = std::sin(0.6f) * 90;
    SpriteQuad quad{};
    quad.v[0] = {100 - c + s, 100 - s - c, 0.5f, 0xC0FFC080u, 0, 0};
    quad.v[1] = {100 + c + s, 100 + s - c, 0.5f, 0xC0FFC080u, u, 0};
    quad.v[2] = {100 + c - s, 100 + s + c, 0.5f, 0xC0FFC080u, u, v};
    quad.v[3] = {100 - c - s, 100 - s + c, 0.5f, 0xC0FFC080u, 0, v};
    quad.texture = texture;
    for (int blend : {kBlendAlpha, kBlendAdditive}) {
      quad.blend = blend;
      std::vector<uint32_t> frames[2];
      for (int trimmed = 0; trimmed < 2; ++trimmed) {
        engine.SetSpriteTrimming(trimmed == 1);
        engine.Gfx_BeginScene(0);
        engine.Gfx_Clear(0xFF406080);
        engine.Gfx_RenderQuad(&quad);
        engine.Gfx_EndScene();
        for (int y = 0; y < 200; ++y)
          for (int x = 0; x < 200; ++x) frames[trimmed].push_back(engine.GetPixel(x, y));
      }
      int worst = 0;
      for (size_t i = 0; i < frames[0].size(); ++i)
        worst = std::max(worst, ChannelDistance(frames[0][i], frames[1][i]));
      EXPECT_LE(worst, 2) << entry.path().filename() << " blend " << blend;
    }
  }
  EXPECT_GT(images, 0);
}

}  // namespace
