// The quad renderer on SDL's software renderer over a surface in memory:
// what it refuses to attach to, texture slots and their sizes, the transform
// and clipping as pixels show them, and the draw calls a frame takes.
#include "engine/sdl/quad_renderer.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kSide = 64;

SpriteQuad plainQuad(float x, float y, float side, uint32_t colour, HTEXTURE texture = 0) {
  SpriteQuad quad{};
  quad.v[0] = {x, y, 0.5f, colour, 0, 0};
  quad.v[1] = {x + side, y, 0.5f, colour, 1, 0};
  quad.v[2] = {x + side, y + side, 0.5f, colour, 1, 1};
  quad.v[3] = {x, y + side, 0.5f, colour, 0, 1};
  quad.texture = texture;
  quad.blend = kBlendAlpha;
  return quad;
}

SurfaceHandle argbImage(int width, int height) {
  SurfaceHandle image(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
  if (image) SDL_FillRect(image.get(), nullptr, 0xFF336699u);
  return image;
}

class QuadRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    target_.reset(SDL_CreateRGBSurfaceWithFormat(0, kSide, kSide, 32, SDL_PIXELFORMAT_RGB888));
    ASSERT_TRUE(target_);
    std::string error;
    ASSERT_TRUE(quads_.Attach(RendererHandle(SDL_CreateSoftwareRenderer(target_.get())), kSide, kSide, &error))
        << error;
    quads_.Clear(0xFF000000u);
  }

  uint32_t pixel(int x, int y) {
    quads_.Flush();
    SDL_RenderFlush(quads_.Renderer());
    const auto* row =
        reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(target_->pixels) + y * target_->pitch);
    return row[x] & 0xFFFFFFu;
  }

  SurfaceHandle target_;  // outlives the renderer that draws into it
  QuadRenderer quads_;
};

TEST(QuadRendererAttach, RefusesWhatCannotBeDrawnOn) {
  SurfaceHandle target(SDL_CreateRGBSurfaceWithFormat(0, 8, 8, 32, SDL_PIXELFORMAT_RGB888));
  ASSERT_TRUE(target);
  const struct {
    bool renderer;
    int width, height;
  } cases[] = {{false, 8, 8}, {true, 0, 8}, {true, 8, -1}};
  for (const auto& c : cases) {
    QuadRenderer quads;
    std::string error;
    RendererHandle renderer(c.renderer ? SDL_CreateSoftwareRenderer(target.get()) : nullptr);
    EXPECT_FALSE(quads.Attach(std::move(renderer), c.width, c.height, &error)) << c.width << " x " << c.height;
    EXPECT_EQ(error, "no renderer for the drawing target");
    EXPECT_FALSE(quads.Attached());
    EXPECT_EQ(quads.AddTexture(argbImage(2, 2).get()), 0u);
    SpriteQuad quad = plainQuad(0, 0, 8, 0xFFFFFFFFu);
    quads.Draw(quad);
  }
}

TEST_F(QuadRendererTest, TexturesKeepTheirSizesAndFreedHandlesStayUnused) {
  const HTEXTURE first = quads_.AddTexture(argbImage(3, 5).get());
  ASSERT_NE(first, 0u);
  EXPECT_EQ(quads_.TextureWidth(first, true), 3);
  EXPECT_EQ(quads_.TextureHeight(first, true), 5);
  EXPECT_EQ(quads_.TextureWidth(first, false), 4);
  EXPECT_EQ(quads_.TextureHeight(first, false), 8);
  const HTEXTURE second = quads_.AddTexture(argbImage(1, 1).get());
  EXPECT_EQ(second, first + 1);

  quads_.FreeTexture(first);
  quads_.FreeTexture(0);
  quads_.FreeTexture(second + 7);
  EXPECT_EQ(quads_.TextureWidth(first, true), 0);
  EXPECT_EQ(quads_.TextureHeight(first, false), 0);
  EXPECT_EQ(quads_.TextureWidth(second, true), 1);
  const HTEXTURE third = quads_.AddTexture(argbImage(2, 2).get());
  EXPECT_EQ(third, second + 1);

  // A quad naming the freed texture draws nothing.
  quads_.StartFrame();
  quads_.Draw(plainQuad(0, 0, 16, 0xFFFFFFFFu, first));
  quads_.FinishFrame();
  EXPECT_EQ(quads_.DrawsInLastFrame(), 0);
  EXPECT_EQ(pixel(8, 8), 0u);
}

TEST_F(QuadRendererTest, TransformMovesAndScalesQuadsAndClippingCutsThem) {
  // An 8-pixel square at the origin, doubled and moved by (20, 10): it
  // covers 20..36 across and 10..26 down, of which clipping keeps x < 30.
  quads_.SetTransform(0, 0, 20, 10, 0, 2, 2);
  quads_.SetClipping(0, 0, 30, kSide);
  quads_.Draw(plainQuad(0, 0, 8, 0xFFFFFFFFu));
  EXPECT_EQ(pixel(25, 18), 0xFFFFFFu);
  EXPECT_EQ(pixel(33, 18), 0u) << "clipped away";
  EXPECT_EQ(pixel(4, 4), 0u) << "where the square is without the transform";
  EXPECT_EQ(pixel(25, 30), 0u);

  // Both scales 0 switch the transform off; all zeros lifts the clipping.
  quads_.SetTransform(0, 0, 0, 0, 0, 0, 0);
  quads_.SetClipping(0, 0, 0, 0);
  quads_.Draw(plainQuad(40, 40, 8, 0xFF00FF00u));
  EXPECT_EQ(pixel(44, 44), 0x00FF00u);
}

TEST_F(QuadRendererTest, CountsTheDrawCallsOfAFrame) {
  const HTEXTURE texture = quads_.AddTexture(argbImage(4, 4).get());
  ASSERT_NE(texture, 0u);
  const struct {
    const char* frame;
    int draws;
    void (*draw)(QuadRenderer& quads, HTEXTURE texture);
  } cases[] = {
      {"nothing", 0, [](QuadRenderer&, HTEXTURE) {}},
      {"two quads on one page", 1,
       [](QuadRenderer& quads, HTEXTURE texture) {
         quads.Draw(plainQuad(0, 0, 8, 0xFFFFFFFFu, texture));
         quads.Draw(plainQuad(10, 0, 8, 0xFFFFFFFFu, texture));
       }},
      {"quads that change no pixel", 0,
       [](QuadRenderer& quads, HTEXTURE texture) {
         quads.Draw(plainQuad(0, 0, 8, 0x00FFFFFFu, texture));
         SpriteQuad black = plainQuad(10, 0, 8, 0xFF000000u, texture);
         black.blend = kBlendAdditive;
         quads.Draw(black);
       }},
      {"a clipping change between two quads", 2,
       [](QuadRenderer& quads, HTEXTURE texture) {
         quads.Draw(plainQuad(0, 0, 8, 0xFFFFFFFFu, texture));
         quads.SetClipping(0, 0, 32, 32);
         quads.Draw(plainQuad(10, 0, 8, 0xFFFFFFFFu, texture));
         quads.SetClipping(0, 0, 0, 0);
       }},
      {"textured and untextured quads", 2,
       [](QuadRenderer& quads, HTEXTURE texture) {
         quads.Draw(plainQuad(0, 0, 8, 0xFFFFFFFFu, texture));
         quads.Draw(plainQuad(10, 0, 8, 0xFFFFFFFFu));
       }},
  };
  for (const auto& c : cases) {
    quads_.StartFrame();
    c.draw(quads_, texture);
    quads_.FinishFrame();
    EXPECT_EQ(quads_.DrawsInLastFrame(), c.draws) << c.frame;
  }
}

}  // namespace
