// Pixel tests of the shared SDL drawing on the headless engine: blend modes,
// texture mapping over padded surfaces, transform with clipping, oversized
// quads, dropped quads, clipping rectangles and texture loading failures.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "engine/sdl/headless_engine.h"
#include "tests/engine/sdl/pixel_reference.h"
#include "tests/engine/sdl/test_files.h"

namespace {

TestImage uniformImage(int width, int height, uint32_t argb) {
  return {width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, argb)};
}

// Opaque texels, each a different colour.
TestImage distinctImage(int width, int height) {
  TestImage image{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      image.argb.push_back(0xFF000000u | static_cast<uint32_t>(x * 255 / std::max(1, width - 1)) << 16 |
                           static_cast<uint32_t>(y * 255 / std::max(1, height - 1)) << 8 |
                           static_cast<uint32_t>(((x + y) % 2) ? 0x30 : 0xC0));
  return image;
}

SpriteQuad rectQuad(float x0, float y0, float x1, float y1, HTEXTURE texture, float u1, float v1, uint32_t colour,
                    int blend) {
  SpriteQuad quad{};
  quad.v[0] = {x0, y0, 0.5f, colour, 0, 0};
  quad.v[1] = {x1, y0, 0.5f, colour, u1, 0};
  quad.v[2] = {x1, y1, 0.5f, colour, u1, v1};
  quad.v[3] = {x0, y1, 0.5f, colour, 0, v1};
  quad.texture = texture;
  quad.blend = blend;
  return quad;
}

class HeadlessDrawing : public ::testing::Test {
 protected:
  void SetUp() override { start(64, 64); }

  void start(int width, int height) {
    engine_ = std::make_unique<HeadlessEngine>(width, height);
    engine_->System_SetState(BoolState::UseSound, false);
    ASSERT_TRUE(engine_->System_Initiate()) << engine_->System_GetErrorMessage();
  }

  // A failing pixel test leaves the frame it saw in the build folder.
  void TearDown() override {
    if (HasFailure() && engine_) {
      std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
      for (char& c : name)
        if (c == '/') c = '_';
      engine_->SaveFrame(ActualFramePath(name));
    }
  }

  HTEXTURE load(const TestImage& image) {
    std::vector<uint8_t> png = EncodePng(image);
    return engine_->Texture_Load(reinterpret_cast<const char*>(png.data()), static_cast<uint32_t>(png.size()));
  }

  int countPixels(uint32_t colour) {
    int count = 0;
    for (int y = 0; y < engine_->Height(); ++y)
      for (int x = 0; x < engine_->Width(); ++x) count += engine_->GetPixel(x, y) == colour;
    return count;
  }

  std::unique_ptr<HeadlessEngine> engine_;
};

struct BlendCase {
  const char* name;
  uint32_t screen;
  bool textured;
  uint32_t texel;
  uint32_t vertex;
  int blend;
};

void PrintTo(const BlendCase& c, std::ostream* os) { *os << c.name; }

class BlendModes : public HeadlessDrawing, public ::testing::WithParamInterface<BlendCase> {};

TEST_P(BlendModes, QuadColourMatchesTheBlendArithmetic) {
  const BlendCase& c = GetParam();
  HTEXTURE texture = 0;
  if (c.textured) {
    texture = load(uniformImage(4, 4, c.texel));
    ASSERT_NE(texture, 0u);
  }
  engine_->Gfx_Clear(c.screen);
  SpriteQuad quad = rectQuad(8, 8, 40, 40, texture, 1, 1, c.vertex, c.blend);
  engine_->Gfx_RenderQuad(&quad);
  const uint32_t want = BlendReference(c.screen, c.textured ? c.texel : 0xFFFFFFFFu, c.vertex, c.blend);
  for (auto [x, y] : {std::pair{8, 8}, {20, 30}, {39, 39}, {30, 12}})
    EXPECT_LE(ChannelDistance(engine_->GetPixel(x, y), want), 2)
        << "at " << x << "," << y << std::hex << ": got " << engine_->GetPixel(x, y) << " want " << want;
  EXPECT_EQ(engine_->GetPixel(50, 50), c.screen | 0xFF000000u);
  EXPECT_EQ(engine_->GetPixel(7, 20), c.screen | 0xFF000000u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, BlendModes,
    ::testing::Values(BlendCase{"UntexturedAlpha", 0xFF0000C8, false, 0, 0x80C86400, kBlendAlpha},
                      BlendCase{"UntexturedAdditive", 0xFF0000C8, false, 0, 0x80C86400, kBlendAdditive},
                      BlendCase{"OpaqueTexelAlpha", 0xFF204060, true, 0xFFFFFFFF, 0x80FF0000, kBlendAlpha},
                      BlendCase{"HalfTexelTintedAlpha", 0xFF204060, true, 0x80FF8040, 0xFF80FF80, kBlendAlpha},
                      BlendCase{"HalfTexelTintedAdditive", 0xFF204060, true, 0x80FF8040, 0xFF80FF80, kBlendAdditive},
                      BlendCase{"AdditiveSaturates", 0xFFC0C0C0, true, 0xFFFFFFFF, 0xC0FFFFFF, kBlendAdditive},
                      BlendCase{"TransparentVertexKeepsScreen", 0xFF336699, true, 0xFFFFFFFF, 0x00FFFFFF, kBlendAlpha},
                      BlendCase{"AlphaBitWithDepthWriteBlends", 0xFF204060, true, 0xC0FFFFFF, 0xFF20F020, 6}),
    [](const ::testing::TestParamInfo<BlendCase>& info) { return std::string(info.param.name); });

TEST_F(HeadlessDrawing, VertexColoursInterpolateAcrossBothTriangles) {
  // Corner colours differ in every channel; the quad is split 0-1-2 / 0-2-3.
  const uint32_t colours[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
  SpriteQuad quad = rectQuad(0, 0, 64, 64, 0, 0, 0, 0, kBlendAlpha);
  for (int i = 0; i < 4; ++i) quad.v[i].colour = colours[i];
  engine_->Gfx_Clear(0);
  engine_->Gfx_RenderQuad(&quad);
  auto lerp = [](double w0, double w1, double w2, uint32_t c0, uint32_t c1, uint32_t c2) {
    uint32_t out = 0xFF000000u;
    for (int shift : {16, 8, 0}) {
      double v = w0 * ((c0 >> shift) & 0xFF) + w1 * ((c1 >> shift) & 0xFF) + w2 * ((c2 >> shift) & 0xFF);
      out |= static_cast<uint32_t>(std::lround(v)) << shift;
    }
    return out;
  };
  for (auto [x, y] : {std::pair{40, 10}, {60, 30}, {10, 40}, {30, 60}, {5, 2}, {50, 60}}) {
    double px = (x + 0.5) / 64.0, py = (y + 0.5) / 64.0;
    uint32_t want = py <= px ? lerp(1 - px, px - py, py, colours[0], colours[1], colours[2])
                             : lerp(1 - py, px, py - px, colours[0], colours[2], colours[3]);
    EXPECT_LE(ChannelDistance(engine_->GetPixel(x, y), want), 4) << "at " << x << "," << y;
  }
}

TEST_F(HeadlessDrawing, SpriteOverTheImagesOwnSizeShowsExactlyTheImage) {
  // 3 x 5 image on a 4 x 8 surface, drawn 4 pixels per texel at (8, 8).
  TestImage image = distinctImage(3, 5);
  HTEXTURE texture = load(image);
  ASSERT_NE(texture, 0u);
  ASSERT_EQ(engine_->Texture_GetWidth(texture), 4);
  ASSERT_EQ(engine_->Texture_GetHeight(texture), 8);
  const float u = 3.0f / engine_->Texture_GetWidth(texture);
  const float v = 5.0f / engine_->Texture_GetHeight(texture);
  engine_->Gfx_Clear(0xFF102030);
  SpriteQuad quad = rectQuad(8, 8, 20, 28, texture, u, v, 0xFFFFFFFF, kBlendAlpha);
  engine_->Gfx_RenderQuad(&quad);
  for (int row = 0; row < 5; ++row)
    for (int column = 0; column < 3; ++column)
      for (auto [dx, dy] : {std::pair{0, 0}, {3, 3}, {1, 2}})
        EXPECT_EQ(engine_->GetPixel(8 + column * 4 + dx, 8 + row * 4 + dy), image.at(column, row))
            << "texel " << column << "," << row;
  for (int y = 8; y < 28; ++y) EXPECT_EQ(engine_->GetPixel(20, y), 0xFF102030u) << "right of the quad, y " << y;
  for (int x = 8; x < 20; ++x) EXPECT_EQ(engine_->GetPixel(x, 28), 0xFF102030u) << "below the quad, x " << x;
}

TEST_F(HeadlessDrawing, TextureSizesWithAndWithoutTheOwnSizeFlag) {
  struct SizeCase {
    int width, height, surfaceWidth, surfaceHeight;
  };
  for (SizeCase c : {SizeCase{1, 1, 1, 1}, {4, 4, 4, 4}, {5, 1, 8, 1}, {100, 60, 128, 64}, {129, 3, 256, 4}}) {
    HTEXTURE texture = load(uniformImage(c.width, c.height, 0xFF808080));
    ASSERT_NE(texture, 0u) << c.width << "x" << c.height;
    EXPECT_EQ(engine_->Texture_GetWidth(texture, true), c.width);
    EXPECT_EQ(engine_->Texture_GetHeight(texture, true), c.height);
    EXPECT_EQ(engine_->Texture_GetWidth(texture, false), c.surfaceWidth);
    EXPECT_EQ(engine_->Texture_GetHeight(texture, false), c.surfaceHeight);
    engine_->Texture_Free(texture);
    EXPECT_EQ(engine_->Texture_GetWidth(texture, true), 0);
  }
}

TEST_F(HeadlessDrawing, RotatedClippedAndTransformedQuad) {
  start(96, 96);
  ParallelogramScene scene;
  scene.image = distinctImage(4, 4);
  scene.background = 0xFF182028;
  // A 24 x 16 sprite turned by 0.4 rad about its first corner...
  const float c = std::cos(0.4f), s = std::sin(0.4f);
  scene.originX = 20;
  scene.originY = 10;
  scene.edge1X = 24 * c;
  scene.edge1Y = 24 * s;
  scene.edge2X = -16 * s;
  scene.edge2Y = 16 * c;
  // ...then the view: turned, stretched unevenly and moved, and clipped.
  scene.tx = 30;
  scene.ty = 20;
  scene.tdx = 15;
  scene.tdy = 20;
  scene.rotation = 0.9f;
  scene.hscale = 1.6f;
  scene.vscale = 1.3f;
  scene.clipX = 10;
  scene.clipY = 40;
  scene.clipWidth = 36;
  scene.clipHeight = 40;
  for (auto [colour, blend] :
       {std::pair{0xFFFFFFFFu, kBlendAlpha}, {0xA0FF80FFu, kBlendAlpha}, {0xC080FFFFu, kBlendAdditive}}) {
    scene.vertexColour = colour;
    scene.blend = blend;
    SceneCheck check = DrawAndCheck(*engine_, scene);
    EXPECT_GT(check.checked, 96 * 96 / 2);
    EXPECT_EQ(check.wrong, 0) << check.firstWrong;
  }
  // The clip cuts through the quad: good parts of it lie on both sides.
  ParallelogramScene unclipped = scene;
  unclipped.clipX = unclipped.clipY = unclipped.clipWidth = unclipped.clipHeight = 0;
  const uint32_t background = scene.background | 0xFF000000u;
  int kept = 0, cutAway = 0;
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 96; ++x) {
      auto whole = ExpectedPixel(unclipped, x, y);
      auto cut = ExpectedPixel(scene, x, y);
      if (!whole || *whole == background || !cut) continue;
      (*cut == background ? cutAway : kept) += 1;
    }
  EXPECT_GT(kept, 80);
  EXPECT_GT(cutAway, 80);
}

TEST_F(HeadlessDrawing, ResetTransformDrawsUntransformed) {
  engine_->Gfx_Clear(0);
  engine_->Gfx_SetTransform(0, 0, 30, 30, 1.0f, 2, 2);
  engine_->Gfx_SetTransform(5, 5, 5, 5, 0.5f, 0, 0);  // both scales 0: identity
  SpriteQuad quad = rectQuad(2, 2, 6, 6, 0, 0, 0, 0xFFFFFFFF, kBlendAlpha);
  engine_->Gfx_RenderQuad(&quad);
  EXPECT_EQ(countPixels(0xFFFFFFFF), 16);
  EXPECT_EQ(engine_->GetPixel(2, 2), 0xFFFFFFFFu);
  EXPECT_EQ(engine_->GetPixel(5, 5), 0xFFFFFFFFu);
}

struct HugeCase {
  const char* name;
  float size;      // side of the square quad in canvas units
  float zoom;      // transform scale
  float rotation;  // transform rotation
};

void PrintTo(const HugeCase& c, std::ostream* os) { *os << c.name; }

class HugeQuads : public HeadlessDrawing, public ::testing::WithParamInterface<HugeCase> {};

TEST_P(HugeQuads, RenderAsTheReferenceSaysWithoutSeams) {
  start(256, 256);
  const HugeCase& c = GetParam();
  ParallelogramScene scene;
  scene.image = distinctImage(64, 64);
  scene.background = 0xFF203040;
  scene.vertexColour = 0x80FFFFFF;  // half transparent: a doubly drawn seam would show
  // The quad's centre sits near the target's centre, a little off so that
  // texel edges cross the visible part.
  const float half = c.size / 2;
  const float centreX = 128.0f / c.zoom + 3.3f, centreY = 128.0f / c.zoom - 2.1f;
  scene.originX = centreX - half;
  scene.originY = centreY - half;
  scene.edge1X = c.size;
  scene.edge2Y = c.size;
  scene.tx = 128.0f / c.zoom;
  scene.ty = 128.0f / c.zoom;
  scene.rotation = c.rotation;
  scene.hscale = scene.vscale = c.zoom;
  scene.tdx = 128.0f - scene.tx;
  scene.tdy = 128.0f - scene.ty;
  SceneCheck check = DrawAndCheck(*engine_, scene);
  EXPECT_GT(check.checked, 256 * 256 * 9 / 10);
  EXPECT_EQ(check.wrong, 0) << check.firstWrong;
}

INSTANTIATE_TEST_SUITE_P(Table, HugeQuads,
                         ::testing::Values(HugeCase{"TwentyFourTimesTheTarget", 6144, 1, 0.3f},
                                           HugeCase{"ZoomEightTimesScaleThree", 960 * 3, 8, 0.3f},
                                           HugeCase{"TwentyFourTimesAWindowOf960", 960, 24, 0.7f},
                                           HugeCase{"UnturnedAtZoomEight", 960 * 3, 8, 0}),
                         [](const ::testing::TestParamInfo<HugeCase>& info) { return std::string(info.param.name); });

// Large textures on the software renderer, whose texture interpolation
// overflows on big triangles far into a texture: magnified near the far
// corner (checked texel by texel), then minified, turned past the edges and
// whole within them.
TEST_F(HeadlessDrawing, ImagesOfThousandsOfTexelsDrawExactly) {
  start(640, 640);
  ParallelogramScene scene;
  scene.image = distinctImage(2048, 2048);
  scene.edge1X = 2048;
  scene.edge2Y = 2048;
  scene.tx = scene.ty = 1900;
  scene.tdx = scene.tdy = 320 - 1900;
  scene.rotation = 0.3f;
  scene.hscale = scene.vscale = 3;
  const HTEXTURE texture = load(scene.image);
  ASSERT_NE(texture, 0u) << engine_->System_GetErrorMessage();
  const SpriteQuad quad = SceneQuad(scene, texture, 2048, 2048);
  engine_->Gfx_Clear(scene.background);
  engine_->Gfx_SetTransform(scene.tx, scene.ty, scene.tdx, scene.tdy, scene.rotation, scene.hscale, scene.vscale);
  engine_->Gfx_RenderQuad(&quad);
  int checked = 0, wrong = 0;
  for (int y = 0; y < 640; ++y)
    for (int x = 0; x < 640; ++x)
      if (std::optional<uint32_t> want = ExpectedPixel(scene, x, y)) {
        ++checked;
        wrong += ChannelDistance(engine_->GetPixel(x, y), *want) > 3;
      }
  EXPECT_GT(checked, 640 * 640 / 20);
  EXPECT_EQ(wrong, 0);

  for (auto [zoom, rotation] : {std::pair{0.3f, 0.3f}, {0.28f, 0.0f}}) {
    engine_->Gfx_Clear(0xFF000000);
    engine_->Gfx_SetTransform(1024, 1024, 320 - 1024, 320 - 1024, rotation, zoom, zoom);
    engine_->Gfx_RenderQuad(&quad);
    // Texel (1024, 1024) or a neighbour: red and green about 128.
    const uint32_t centre = engine_->GetPixel(320, 320);
    EXPECT_NEAR(static_cast<int>((centre >> 16) & 0xFF), 128, 2) << "zoom " << zoom;
    EXPECT_NEAR(static_cast<int>((centre >> 8) & 0xFF), 128, 2) << "zoom " << zoom;
  }
}

TEST_F(HeadlessDrawing, QuadsWithNonFiniteCoordinatesAreDropped) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  engine_->Gfx_Clear(0xFF000000);
  for (int corner = 0; corner < 4; ++corner) {
    for (float bad : {nan, inf, -inf}) {
      SpriteQuad quad = rectQuad(0, 0, 64, 64, 0, 0, 0, 0xFFFFFFFF, kBlendAlpha);
      (corner % 2 ? quad.v[corner].y : quad.v[corner].x) = bad;
      engine_->Gfx_RenderQuad(&quad);
    }
  }
  // Finite, but the transform takes it beyond float range.
  engine_->Gfx_SetTransform(0, 0, 0, 0, 0, 1e30f, 1e30f);
  SpriteQuad far = rectQuad(-1e10f, -1e10f, 1e10f, 1e10f, 0, 0, 0, 0xFFFFFFFF, kBlendAlpha);
  engine_->Gfx_RenderQuad(&far);
  engine_->Gfx_SetTransform();
  EXPECT_EQ(countPixels(0xFF000000), 64 * 64);

  // Absurd but finite coordinates are drawn (cut to the target), and the
  // engine keeps drawing afterwards.
  SpriteQuad wide = rectQuad(-3e37f, -1e30f, 3e37f, 32, 0, 0, 0, 0xFF00FF00, kBlendAlpha);
  engine_->Gfx_RenderQuad(&wide);
  EXPECT_EQ(engine_->GetPixel(10, 10), 0xFF00FF00u);
  EXPECT_EQ(engine_->GetPixel(10, 40), 0xFF000000u);
  engine_->Gfx_RenderQuad(nullptr);
  SpriteQuad normal = rectQuad(0, 40, 8, 48, 0, 0, 0, 0xFFFF0000, kBlendAlpha);
  engine_->Gfx_RenderQuad(&normal);
  EXPECT_EQ(engine_->GetPixel(4, 44), 0xFFFF0000u);
}

TEST_F(HeadlessDrawing, ClippingRectangles) {
  struct ClipCase {
    int x, y, width, height;
    int expectedPixels;
  };
  const ClipCase cases[] = {
      {0, 0, 0, 0, 64 * 64},        // all zero: whole target
      {10, 20, 5, 7, 35},           // inside
      {-10, -10, 30, 20, 20 * 10},  // partly off the target
      {0, 0, 960, 960, 64 * 64},    // larger than the target: clips nothing
      {5, 5, 0, 7, 0},              // zero width, not all zero: nothing
      {5, 5, -4, 7, 0},             // negative width: nothing
      {70, 70, 10, 10, 0},          // off the target
  };
  for (const ClipCase& c : cases) {
    engine_->Gfx_SetClipping();
    engine_->Gfx_Clear(0xFF000000);
    engine_->Gfx_SetClipping(c.x, c.y, c.width, c.height);
    SpriteQuad quad = rectQuad(-100, -100, 200, 200, 0, 0, 0, 0xFFFFFFFF, kBlendAlpha);
    engine_->Gfx_RenderQuad(&quad);
    EXPECT_EQ(countPixels(0xFFFFFFFF), c.expectedPixels) << c.x << "," << c.y << " " << c.width << "x" << c.height;
  }
  engine_->Gfx_SetClipping(10, 20, 5, 7);
  engine_->Gfx_Clear(0xFF445566);  // clearing ignores the clip
  EXPECT_EQ(countPixels(0xFF445566), 64 * 64);
}

TEST_F(HeadlessDrawing, FreedOrUnknownTexturesAreNotDrawn) {
  HTEXTURE texture = load(uniformImage(2, 2, 0xFFFFFFFF));
  ASSERT_NE(texture, 0u);
  engine_->Texture_Free(texture);
  engine_->Texture_Free(texture);
  engine_->Texture_Free(12345);
  engine_->Gfx_Clear(0xFF000000);
  for (HTEXTURE handle : {texture, HTEXTURE{999}}) {
    SpriteQuad quad = rectQuad(0, 0, 64, 64, handle, 1, 1, 0xFFFFFFFF, kBlendAlpha);
    engine_->Gfx_RenderQuad(&quad);
  }
  EXPECT_EQ(countPixels(0xFF000000), 64 * 64);
  EXPECT_EQ(engine_->Texture_GetWidth(texture), 0);
  EXPECT_NE(load(uniformImage(2, 2, 0xFFFFFFFF)), texture) << "handles are not reused";
}

TEST_F(HeadlessDrawing, TextureCoordinatesOutsideTheSurfaceAreClampedNotDropped) {
  HTEXTURE texture = load(uniformImage(4, 4, 0xFF00FFFF));
  ASSERT_NE(texture, 0u);
  engine_->Gfx_Clear(0xFF000000);
  SpriteQuad quad = rectQuad(0, 0, 32, 32, texture, 1, 1, 0xFFFFFFFF, kBlendAlpha);
  quad.v[1].tx = quad.v[2].tx = 1.0000001f;
  quad.v[0].ty = -3.0f;
  quad.v[3].tx = std::numeric_limits<float>::quiet_NaN();
  engine_->Gfx_RenderQuad(&quad);
  EXPECT_EQ(engine_->GetPixel(16, 16), 0xFF00FFFFu);
}

TEST_F(HeadlessDrawing, BrokenImagesGiveTextureZero) {
  std::vector<uint8_t> good = EncodePng(uniformImage(8, 8, 0xFF808080));
  std::vector<uint8_t> truncated(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
  std::vector<uint8_t> badBody = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  for (int i = 0; i < 200; ++i) badBody.push_back(static_cast<uint8_t>(i * 37 + 11));
  std::vector<uint8_t> corruptChunk = good;
  corruptChunk[20] ^= 0x5A;  // inside IHDR: width and CRC disagree
  // A well-formed header claiming 100,000 x 100,000 pixels: refused before
  // anything tries to allocate them.
  std::vector<uint8_t> bomb = EncodePng(uniformImage(1, 1, 0xFF808080));
  for (size_t at : {16u, 20u}) {
    bomb[at] = 0, bomb[at + 1] = 0x01, bomb[at + 2] = 0x86, bomb[at + 3] = 0xA0;
  }
  const uint32_t crc = Crc32(bomb.data() + 12, 17);
  for (int i = 0; i < 4; ++i) bomb[29 + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
  std::string text = "this is not an image at all";
  for (const std::vector<uint8_t>* bytes : {&truncated, &badBody, &corruptChunk, &bomb}) {
    EXPECT_EQ(engine_->Texture_Load(reinterpret_cast<const char*>(bytes->data()), static_cast<uint32_t>(bytes->size())),
              0u);
    EXPECT_STRNE(engine_->System_GetErrorMessage(), "");
  }
  EXPECT_EQ(engine_->Texture_Load(text.c_str(), static_cast<uint32_t>(text.size())), 0u);
  EXPECT_EQ(engine_->Texture_Load("no\\such\\image.png"), 0u);
  EXPECT_EQ(engine_->Texture_Load(nullptr), 0u);
  EXPECT_NE(load(uniformImage(8, 8, 0xFF808080)), 0u) << "the engine still loads good images";
}

TEST_F(HeadlessDrawing, ImagesAreRefusedBySizeBeforeDecodingAndEmptyFilesSaySo) {
  auto message = [&] { return std::string(engine_->System_GetErrorMessage()); };
  // 10 KB claiming 16,384 x 16,384: refused from the header.
  std::vector<uint8_t> bmp = {'B', 'M', 0, 0, 0,    0, 0, 0, 0,    0, 54, 0, 0, 0,  40,
                              0,   0,   0, 0, 0x40, 0, 0, 0, 0x40, 0, 0,  1, 0, 32, 0};
  bmp.resize(10240, 0x7F);
  EXPECT_EQ(engine_->Texture_Load(reinterpret_cast<const char*>(bmp.data()), static_cast<uint32_t>(bmp.size())), 0u);
  EXPECT_NE(message().find("16384 x 16384 pixels, larger than the 4096 x 4096"), std::string::npos) << message();
  EXPECT_EQ(load(uniformImage(4097, 1, 0xFF808080)), 0u);
  EXPECT_NE(message().find("4097 x 1 pixels"), std::string::npos) << message();
  // Passes as a PCX header but holds SVG text: only the PCX decoder may see it.
  const uint8_t svgAsPcx[] = {0x0A, 0x89, 0x01, '<', 's', 'v', 'g', 's', 'v', 'g', 0x14, 0x1E};
  EXPECT_EQ(engine_->Texture_Load(reinterpret_cast<const char*>(svgAsPcx), sizeof svgAsPcx), 0u);
  const HTEXTURE widest = load(uniformImage(4096, 2, 0xFF808080));
  EXPECT_NE(widest, 0u) << message();
  EXPECT_EQ(engine_->Texture_GetWidth(widest, true), 4096);

  TempFolder folder;
  folder.Write("pix/empty.png", std::string());
  ScopedWorkingFolder inFolder(folder.path());
  EXPECT_EQ(engine_->Texture_Load("pix\\empty.png"), 0u);
  EXPECT_EQ(message(), "Texture_Load: pix\\empty.png: the file is empty");
  EXPECT_EQ(engine_->Texture_Load("pix\\missing.png"), 0u);
  EXPECT_EQ(message(), "Texture_Load: pix\\missing.png: not found");
}

// A PCX header named .png, whose decoder took its allocation from the bytes
// per line (ff ff), and a PNG whose image data inflates to 64 MiB: both are
// refused before decoding, with the file's name.
TEST_F(HeadlessDrawing, OnlyPngIsDecodedAndADecompressionBombIsRefused) {
  auto message = [&] { return std::string(engine_->System_GetErrorMessage()); };
  std::vector<uint8_t> pcx(128, 0);
  pcx[0] = 0x0A, pcx[1] = 5, pcx[2] = 1, pcx[3] = 8;  // version 5, run-length coded, 8 bits
  pcx[8] = 15, pcx[10] = 15;                          // xmax = ymax = 15
  pcx[65] = 1, pcx[66] = 0xFF, pcx[67] = 0xFF;        // one plane, 65,535 bytes per line
  TempFolder folder;
  folder.Write("pix/pcx.png", pcx);
  folder.Write("pix/bomb.png", BuildPng(64, 64, 8, 6, 0, {{"IDAT", DeflatedZeros(size_t{64} << 20)}}));
  ScopedWorkingFolder inFolder(folder.path());
  EXPECT_EQ(engine_->Texture_Load("pix\\pcx.png"), 0u);
  EXPECT_EQ(message(), "Texture_Load: pix\\pcx.png: a PCX image: only PNG images are read");
  EXPECT_EQ(engine_->Texture_Load("pix\\bomb.png"), 0u);
  EXPECT_EQ(message(),
            "Texture_Load: pix\\bomb.png: the image data inflates to more than the 16448 bytes a 64 x 64 image needs");
}

TEST(HeadlessEngineUninitiated, DrawsAndLoadsNothingWithoutCrashing) {
  HeadlessEngine engine(16, 16);
  SpriteQuad quad = rectQuad(0, 0, 16, 16, 0, 0, 0, 0xFFFFFFFF, kBlendAlpha);
  engine.Gfx_RenderQuad(&quad);
  engine.Gfx_Clear(0xFFFFFFFF);
  engine.Gfx_SetClipping(1, 1, 2, 2);
  EXPECT_FALSE(engine.Gfx_BeginScene(0));
  std::vector<uint8_t> png = EncodePng(uniformImage(2, 2, 0xFFFFFFFF));
  EXPECT_EQ(engine.Texture_Load(reinterpret_cast<const char*>(png.data()), static_cast<uint32_t>(png.size())), 0u);
  EXPECT_EQ(engine.GetPixel(0, 0), 0u);
  EXPECT_FALSE(engine.SaveFrame(ActualFramePath("never")));
  HeadlessEngine empty(0, 10);
  EXPECT_FALSE(empty.System_Initiate());
  EXPECT_STRNE(empty.System_GetErrorMessage(), "");
}

TEST_F(HeadlessDrawing, SceneRequiresTheScreenTarget) {
  EXPECT_TRUE(engine_->Gfx_BeginScene(0));
  EXPECT_FALSE(engine_->Gfx_BeginScene(7));
  engine_->Gfx_EndScene();
  engine_->Gfx_Clear(0x00123456);
  EXPECT_EQ(engine_->GetPixel(63, 63), 0xFF123456u);
  EXPECT_EQ(engine_->GetPixel(64, 0), 0u);
  EXPECT_EQ(engine_->GetPixel(-1, 0), 0u);
}

TEST_F(HeadlessDrawing, ReadFrameCopiesEveryPixelAtAnyPitch) {
  start(37, 5);
  const HTEXTURE texture = load(distinctImage(37, 5));
  SpriteQuad quad = rectQuad(0, 0, 37, 5, texture, 1, 1, 0xFFFFFFFF, kBlendAlpha);
  engine_->Gfx_BeginScene(0);
  engine_->Gfx_Clear(0);
  engine_->Gfx_RenderQuad(&quad);
  engine_->Gfx_EndScene();
  const int pitchWords = 40;
  std::vector<uint32_t> frame(pitchWords * 5, 0xDEADBEEF);
  ASSERT_TRUE(engine_->ReadFrame(frame.data(), pitchWords * 4));
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 37; ++x) ASSERT_EQ(frame[y * pitchWords + x] & 0xFFFFFFu, engine_->GetPixel(x, y) & 0xFFFFFFu);
    EXPECT_EQ(frame[y * pitchWords + 39], 0xDEADBEEFu) << "the padding past each row stays untouched";
  }
  EXPECT_FALSE(engine_->ReadFrame(frame.data(), 36 * 4));
  EXPECT_FALSE(HeadlessEngine(4, 4).ReadFrame(frame.data(), 16));
}

}  // namespace
