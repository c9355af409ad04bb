// Draws a small scene on the headless engine and checks known pixels: two
// graphics, one alpha-blended and one additive, with tinted, rotated and
// scaled objects overlapping in draw order. On failure the frame is saved
// into the build folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>
#include <vector>

#include "engine/engine_factory.h"
#include "engine/sdl/headless_engine.h"
#include "scene/scene.h"
#include "tools/common/png_file.h"

namespace {

// A PNG of the ARGB pixels given row by row (the engine reads PNG only).
std::vector<uint8_t> encodePng(int width, int height, const std::vector<uint32_t>& argb) {
  tools::RgbaImage image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t pixel = argb[static_cast<size_t>(y) * width + x];
      uint8_t* rgba = image.At(x, y);
      for (int channel = 0; channel < 3; ++channel) rgba[channel] = static_cast<uint8_t>(pixel >> (16 - 8 * channel));
      rgba[3] = static_cast<uint8_t>(pixel >> 24);
    }
  }
  return tools::EncodePng(image);
}

// The engine's blending of one pixel: the texel times the vertex colour,
// then alpha-blended (mode 2) or added (mode 0) onto the screen.
uint32_t blended(uint32_t screen, uint32_t texel, uint32_t vertex, int blend) {
  auto channel = [](uint32_t colour, int shift) { return static_cast<double>((colour >> shift) & 0xFF); };
  const double alpha = channel(texel, 24) * channel(vertex, 24) / (255.0 * 255.0);
  uint32_t result = 0xFF000000u;
  for (int shift : {16, 8, 0}) {
    const double source = channel(texel, shift) * channel(vertex, shift) / 255.0;
    const double target = channel(screen, shift);
    const double out = blend == kBlendAlpha ? source * alpha + target * (1.0 - alpha) : target + source * alpha;
    result |= static_cast<uint32_t>(std::clamp(std::lround(out), 0L, 255L)) << shift;
  }
  return result;
}

int channelDistance(uint32_t a, uint32_t b) {
  int worst = 0;
  for (int shift : {16, 8, 0}) {
    worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
  }
  return worst;
}

class ScenePixels : public ::testing::Test {
 protected:
  void SetUp() override {
    engine.System_SetState(BoolState::UseSound, false);
    ASSERT_TRUE(engine.System_Initiate()) << engine.System_GetErrorMessage();
    hgeUseEngine(&engine);
  }

  void TearDown() override {
    if (HasFailure()) {
      engine.SaveFrame(std::string(DRIFTGLOW_TEST_OUTPUT_DIR) + "/" +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + "_actual.png");
    }
    hgeUseEngine(nullptr);
    engine.System_Shutdown();
  }

  HTEXTURE load(int width, int height, const std::vector<uint32_t>& argb) {
    std::vector<uint8_t> png = encodePng(width, height, argb);
    return engine.Texture_Load(reinterpret_cast<const char*>(png.data()), static_cast<uint32_t>(png.size()));
  }

  HeadlessEngine engine{64, 64};
};

TEST_F(ScenePixels, TintedRotatedScaledObjectsOfTwoGraphicsBlendInDrawOrder) {
  constexpr uint32_t kWhite = 0xFFFFFFFF, kGrey = 0xFF808080, kDim = 0xFF404040, kBlack = 0xFF000000;
  // Graphic "halves": 8 x 8, left half white, right half grey; alpha-blended.
  std::vector<uint32_t> halves(64);
  for (int i = 0; i < 64; ++i) halves[i] = (i % 8) < 4 ? kWhite : kGrey;
  const HTEXTURE halvesTexture = load(8, 8, halves);
  // Graphic "dim": 3 x 3 of one dark grey (on a padded 4 x 4 surface); additive.
  const HTEXTURE dimTexture = load(3, 3, std::vector<uint32_t>(9, kDim));
  ASSERT_NE(halvesTexture, 0u);
  ASSERT_NE(dimTexture, 0u);

  {
    SPIX scene;
    scene.noSpatialIndex = true;
    SPIX_GRAPHICS* halvesGraphic = scene.AddGraphics(
        "halves.png", halvesTexture, 0, 0, static_cast<float>(engine.Texture_GetWidth(halvesTexture, true)),
        static_cast<float>(engine.Texture_GetHeight(halvesTexture, true)), 0, 0, 0);
    halvesGraphic->sprite->SetPivot(4, 4);
    halvesGraphic->sprite->SetBlend(kBlendAlpha);
    SPIX_GRAPHICS* dimGraphic = scene.AddGraphics("dim.png", dimTexture, 0, 0, 3, 3, 0, 0, 0);
    dimGraphic->sprite->SetPivot(1.5f, 1.5f);
    dimGraphic->sprite->SetBlend(kBlendAdditive);

    // Drawn in order of creation y: green (y 16), yellow (y 16, id 2),
    // red glow (y 20), blue glow (y 47), see-through white (y 48).
    SPIX_OBJECT* green = scene.AddObject("titile", halvesGraphic, 16, 16, 0);  // covers 8..24
    green->scale = 2;
    green->tinted = true;
    green->tint = 0xFF00FF00;
    SPIX_OBJECT* yellow = scene.AddObject("titile", halvesGraphic, 48, 16, 0);  // covers 40..56
    yellow->scale = 2;
    yellow->rotation = std::numbers::pi_v<float> / 2;  // clockwise: the left half ends on top
    yellow->tinted = true;
    yellow->tint = 0xFFFFFF00;
    SPIX_OBJECT* red = scene.AddObject("titile", dimGraphic, 20, 20, 0);  // covers 14..26
    red->scale = 4;
    red->tinted = true;
    red->tint = 0xFFFF0000;
    SPIX_OBJECT* blue = scene.AddObject("titile", dimGraphic, 16, 47, 0);  // covers 8..24 x 39..55
    blue->scale = 16.0f / 3.0f;
    blue->tinted = true;
    blue->tint = 0xFF0000FF;
    SPIX_OBJECT* glass = scene.AddObject("titile", halvesGraphic, 16, 48, 0);  // covers 8..24 x 40..56
    glass->scale = 2;
    glass->tinted = true;
    glass->tint = 0x80FFFFFF;

    ASSERT_TRUE(engine.Gfx_BeginScene());
    engine.Gfx_Clear(kBlack);
    scene.Render(0, 0, 0, 0);
    engine.Gfx_EndScene();
  }

  const uint32_t greenWhite = blended(kBlack, kWhite, 0xFF00FF00, kBlendAlpha);
  const uint32_t greenGrey = blended(kBlack, kGrey, 0xFF00FF00, kBlendAlpha);
  const uint32_t blueGlow = blended(kBlack, kDim, 0xFF0000FF, kBlendAdditive);
  struct Probe {
    int x, y;
    uint32_t expected;
    const char* what;
  };
  const Probe probes[] = {
      {11, 11, greenWhite, "left half, white tinted green"},
      {20, 11, greenGrey, "right half, grey tinted green"},
      {11, 21, greenWhite, "left half below"},
      {48, 11, blended(kBlack, kWhite, 0xFFFFFF00, kBlendAlpha), "turned: white half on top"},
      {48, 21, blended(kBlack, kGrey, 0xFFFFFF00, kBlendAlpha), "turned: grey half below"},
      {43, 12, blended(kBlack, kWhite, 0xFFFFFF00, kBlendAlpha), "turned: white across the width"},
      {21, 21, blended(greenGrey, kDim, 0xFFFF0000, kBlendAdditive), "red glow added onto green"},
      {25, 25, blended(kBlack, kDim, 0xFFFF0000, kBlendAdditive), "red glow alone"},
      {11, 52, blended(blueGlow, kWhite, 0x80FFFFFF, kBlendAlpha), "half-transparent white over blue glow"},
      {20, 52, blended(blueGlow, kGrey, 0x80FFFFFF, kBlendAlpha), "half-transparent grey over blue glow"},
      {12, 40, blended(blueGlow, kWhite, 0x80FFFFFF, kBlendAlpha), "glass top edge row"},
      {16, 39, blueGlow, "blue glow above the glass"},
      {30, 30, kBlack, "background"},
      {58, 16, kBlack, "right of the turned object"},
  };
  for (const Probe& probe : probes) {
    const uint32_t actual = engine.GetPixel(probe.x, probe.y);
    EXPECT_LE(channelDistance(actual, probe.expected), 3)
        << probe.what << " at (" << probe.x << ", " << probe.y << "): got " << std::hex << actual << " want "
        << probe.expected;
  }
}

}  // namespace
