// Drawing through atlas pages and the one batch, on both headless renderers:
// packed images keep their texels and sizes, premultiplied blending gives
// the straight-alpha result, and quads sharing a page go out in one draw.
// OpenGL cases are skipped where no OpenGL renderer starts.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "engine/sdl/headless_engine.h"
#include "tests/engine/sdl/pixel_reference.h"
#include "tests/engine/sdl/test_files.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr const char* kMesaLeaks = "Mesa's OpenGL driver leaves allocations LeakSanitizer reports";
#endif

// Texels in many colours and (unless opaque) alphas.
TestImage patternImage(int width, int height, bool opaque) {
  TestImage image{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t alpha = opaque ? 0xFF : 0x40 + static_cast<uint32_t>((x * 7 + y * 13) % 0xC0);
      image.argb.push_back(alpha << 24 | static_cast<uint32_t>(x * 37 % 256) << 16 |
                           static_cast<uint32_t>(y * 53 % 256) << 8 | static_cast<uint32_t>((x + y) * 29 % 256));
    }
  return image;
}

SpriteQuad spriteQuad(float x, float y, float width, float height, HTEXTURE texture, float u1, float v1, int blend) {
  SpriteQuad quad{};
  quad.v[0] = {x, y, 0.5f, 0xFFFFFFFF, 0, 0};
  quad.v[1] = {x + width, y, 0.5f, 0xFFFFFFFF, u1, 0};
  quad.v[2] = {x + width, y + height, 0.5f, 0xFFFFFFFF, u1, v1};
  quad.v[3] = {x, y + height, 0.5f, 0xFFFFFFFF, 0, v1};
  quad.texture = texture;
  quad.blend = blend;
  return quad;
}

std::string rendererLabel(const ::testing::TestParamInfo<HeadlessRenderer>& info) {
  return info.param == HeadlessRenderer::OpenGL ? "OpenGL" : "Software";
}

class BatchedDrawing : public ::testing::TestWithParam<HeadlessRenderer> {
 protected:
  void start(int width, int height) {
#if defined(__SANITIZE_ADDRESS__)
    if (GetParam() == HeadlessRenderer::OpenGL) GTEST_SKIP() << kMesaLeaks;
#endif
    engine_ = std::make_unique<HeadlessEngine>(width, height, GetParam());
    engine_->System_SetState(BoolState::UseSound, false);
    engine_->System_SetState(BoolState::TextureFilter, false);
    if (!engine_->System_Initiate()) {
      if (GetParam() == HeadlessRenderer::OpenGL) GTEST_SKIP() << "no OpenGL: " << engine_->System_GetErrorMessage();
      FAIL() << engine_->System_GetErrorMessage();
    }
  }
  void TearDown() override {
    if (HasFailure() && engine_)
      engine_->SaveFrame(ActualFramePath(::testing::UnitTest::GetInstance()->current_test_info()->name() +
                                         std::string(GetParam() == HeadlessRenderer::OpenGL ? "_gl" : "_sw")));
  }
  HTEXTURE load(const TestImage& image) {
    std::vector<uint8_t> png = EncodePng(image);
    return engine_->Texture_Load(reinterpret_cast<const char*>(png.data()), static_cast<uint32_t>(png.size()));
  }

  std::unique_ptr<HeadlessEngine> engine_;
};

TEST_P(BatchedDrawing, PackedImagesKeepTheirTexelsAndSizes) {
  start(320, 160);
  if (IsSkipped()) return;
  struct Size {
    int width, height, surfaceWidth, surfaceHeight;
  };
  const Size sizes[] = {{3, 5, 4, 8}, {64, 64, 64, 64}, {100, 60, 128, 64}, {1, 1, 1, 1}, {300, 20, 512, 32}};
  HTEXTURE textures[5];
  TestImage images[5];
  for (int i = 0; i < 5; ++i) {
    images[i] = patternImage(sizes[i].width, sizes[i].height, true);
    textures[i] = load(images[i]);
    ASSERT_NE(textures[i], 0u) << i;
  }
  for (int i = 0; i < 5; ++i) {
    const Size& s = sizes[i];
    EXPECT_EQ(engine_->Texture_GetWidth(textures[i], true), s.width);
    EXPECT_EQ(engine_->Texture_GetHeight(textures[i], true), s.height);
    EXPECT_EQ(engine_->Texture_GetWidth(textures[i]), s.surfaceWidth);
    EXPECT_EQ(engine_->Texture_GetHeight(textures[i]), s.surfaceHeight);
    // The whole image one pixel per texel: every texel, and none of a neighbour's.
    engine_->Gfx_BeginScene(0);
    engine_->Gfx_Clear(0xFF000000);
    SpriteQuad quad = spriteQuad(10, 20, static_cast<float>(s.width), static_cast<float>(s.height), textures[i],
                                 static_cast<float>(s.width) / static_cast<float>(s.surfaceWidth),
                                 static_cast<float>(s.height) / static_cast<float>(s.surfaceHeight), kBlendAlpha);
    engine_->Gfx_RenderQuad(&quad);
    engine_->Gfx_EndScene();
    int wrong = 0;
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x) wrong += engine_->GetPixel(10 + x, 20 + y) != images[i].at(x, y);
    EXPECT_EQ(wrong, 0) << "image " << i;
    EXPECT_EQ(engine_->GetPixel(10 + s.width, 20), 0xFF000000u) << "image " << i;
  }
}

TEST_P(BatchedDrawing, TintedTurnedScaledSpriteBlendsAsStraightAlpha) {
  start(96, 96);
  if (IsSkipped()) return;
  ParallelogramScene scene;
  scene.image = patternImage(6, 5, false);
  scene.background = 0xFF304050;
  const float c = std::cos(0.7f), s = std::sin(0.7f);
  scene.originX = 40;
  scene.originY = 8;
  scene.edge1X = 42 * c;
  scene.edge1Y = 42 * s;
  scene.edge2X = -30 * s;
  scene.edge2Y = 30 * c;
  scene.tx = 48;
  scene.ty = 48;
  scene.hscale = 1.25f;
  scene.vscale = 1.1f;
  scene.rotation = 0.2f;
  for (auto [colour, blend] : {std::pair{0xB0FF9040u, kBlendAlpha}, {0xC060C0FFu, kBlendAdditive}}) {
    scene.vertexColour = colour;
    scene.blend = blend;
    SceneCheck check = DrawAndCheck(*engine_, scene);
    EXPECT_GT(check.checked, 96 * 96 / 3);
    EXPECT_EQ(check.wrong, 0) << check.firstWrong;
  }
}

TEST_P(BatchedDrawing, QuadsMergeIntoDrawsUntilPageBlendOrClipChange) {
  start(64, 64);
  if (IsSkipped()) return;
  const HTEXTURE a = load(patternImage(8, 8, false));
  const HTEXTURE b = load(patternImage(16, 4, false));
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  const bool shared = std::string(engine_->RendererName()) != "software";
  auto frame = [&](bool clipHalfway) {
    engine_->Gfx_BeginScene(0);
    engine_->Gfx_Clear(0);
    for (int i = 0; i < 40; ++i) {
      if (clipHalfway && i == 20) engine_->Gfx_SetClipping(0, 0, 32, 64);
      // Ten of each texture and blend in turn.
      SpriteQuad quad = spriteQuad(static_cast<float>(i), 4, 8, 8, i / 10 % 2 ? b : a, 0.5f, 0.5f,
                                   i / 20 ? kBlendAdditive : kBlendAlpha);
      engine_->Gfx_RenderQuad(&quad);
    }
    engine_->Gfx_EndScene();
    return engine_->DrawsInLastFrame();
  };
  // One page and one blend state for everything; the software renderer
  // draws a run per texture and blend.
  EXPECT_EQ(frame(false), shared ? 1 : 4);
  EXPECT_EQ(frame(true), shared ? 2 : 4);
}

TEST_P(BatchedDrawing, QuadsThatCannotChangeAPixelAreLeftOut) {
  start(32, 32);
  if (IsSkipped()) return;
  const HTEXTURE texture = load(patternImage(8, 8, true));
  ASSERT_NE(texture, 0u);
  // Each case: the four corners' colours and the blend.
  struct Case {
    uint32_t corners[4];
    int blend;
    bool drawn;
  };
  const Case cases[] = {
      {{0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF}, kBlendAlpha, false},
      {{0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF, 0x00FFFFFF}, kBlendAdditive, false},
      {{0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}, kBlendAdditive, false},
      {{0xFF000000, 0xFF000000, 0xFF000000, 0xFF000000}, kBlendAlpha, true},
      {{0x00FFFFFF, 0x00FFFFFF, 0x01FFFFFF, 0x00FFFFFF}, kBlendAlpha, true},
      {{0xFF000000, 0xFF000000, 0xFF000001, 0xFF000000}, kBlendAdditive, true},
  };
  for (const Case& c : cases) {
    engine_->Gfx_BeginScene(0);
    engine_->Gfx_Clear(0xFF406080);
    SpriteQuad quad = spriteQuad(4, 4, 16, 16, texture, 1, 1, c.blend);
    for (int i = 0; i < 4; ++i) quad.v[i].colour = c.corners[i];
    engine_->Gfx_RenderQuad(&quad);
    engine_->Gfx_EndScene();
    EXPECT_EQ(engine_->DrawsInLastFrame(), c.drawn ? 1 : 0) << std::hex << c.corners[2] << " blend " << c.blend;
    if (!c.drawn) {
      EXPECT_EQ(engine_->GetPixel(12, 12), 0xFF406080u);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Renderers, BatchedDrawing,
                         ::testing::Values(HeadlessRenderer::Software, HeadlessRenderer::OpenGL), rendererLabel);

}  // namespace
