// The still tool's pictures of three fixed screens against reference PNGs
// made before drawing went through atlas pages and one batch: the software
// renderer must give the same picture (mean difference at most 1% of full
// scale per channel).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/sdl/headless_engine.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSide = 480;

// Decodes the PNG by drawing it one pixel per texel on the software
// renderer, which maps texels exactly; false when it does not load.
bool readPicture(const fs::path& path, HeadlessEngine& engine) {
  if (!engine.System_Initiate()) return false;
  const HTEXTURE texture = engine.Texture_Load(path.string().c_str());
  if (texture == 0 || engine.Texture_GetWidth(texture, true) != kSide) return false;
  const float u = static_cast<float>(kSide) / static_cast<float>(engine.Texture_GetWidth(texture));
  const float v = static_cast<float>(kSide) / static_cast<float>(engine.Texture_GetHeight(texture));
  SpriteQuad quad{};
  const float side = kSide;
  quad.v[0] = {0, 0, 0.5f, 0xFFFFFFFF, 0, 0};
  quad.v[1] = {side, 0, 0.5f, 0xFFFFFFFF, u, 0};
  quad.v[2] = {side, side, 0.5f, 0xFFFFFFFF, u, v};
  quad.v[3] = {0, side, 0.5f, 0xFFFFFFFF, 0, v};
  quad.texture = texture;
  quad.blend = kBlendAlpha;
  engine.Gfx_Clear(0xFF000000);
  engine.Gfx_RenderQuad(&quad);
  return true;
}

TEST(StillPicture, SoftwareRendererKeepsTheReferencePictures) {
  const fs::path out = fs::temp_directory_path() / ("driftglow_still_picture_" + std::to_string(::getpid()) + ".png");
  for (const char* seeds : {"1,2,3", "84474,10074,58487", "4242,777,31337"}) {
    std::string name = seeds;
    for (char& c : name)
      if (c == ',') c = '_';
    const fs::path reference = fs::path(DRIFTGLOW_TEST_DATA_DIR) / ("still_" + name + "_480.png");
    const std::string command = std::string(DRIFTGLOW_STILL) + " --renderer software --size 480x480 --frames 150" +
                                " --data " + DRIFTGLOW_RUN_DIR + " --seeds " + seeds + " --png " + out.string();
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << command;

    HeadlessEngine expected(kSide, kSide), actual(kSide, kSide);
    expected.System_SetState(BoolState::UseSound, false);
    actual.System_SetState(BoolState::UseSound, false);
    ASSERT_TRUE(readPicture(reference, expected)) << reference;
    ASSERT_TRUE(readPicture(out, actual)) << out;
    double sum[3] = {0, 0, 0};
    for (int y = 0; y < kSide; ++y)
      for (int x = 0; x < kSide; ++x) {
        const uint32_t a = expected.GetPixel(x, y), b = actual.GetPixel(x, y);
        for (int channel = 0; channel < 3; ++channel) {
          const int shift = 16 - 8 * channel;
          sum[channel] += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
        }
      }
    for (double channelSum : sum) EXPECT_LE(channelSum / (kSide * kSide) / 255.0, 0.01) << seeds;
  }
  std::error_code ignored;
  fs::remove(out, ignored);
}

}  // namespace
