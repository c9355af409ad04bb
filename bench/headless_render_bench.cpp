// Drawing cost on the headless engine, on SDL's software renderer (argument
// 0) and its OpenGL renderer (argument 1): a frame of turned, textured
// sprites as a screen has them, and one oversized quad.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "engine/sdl/headless_engine.h"

namespace {

// A 64 x 64 texture made by drawing and saving a frame, loaded back.
HTEXTURE makeTexture(HeadlessEngine& engine) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("driftglow_bench_" + std::to_string(::getpid()) + ".png")).string();
  HeadlessEngine painter(64, 64);
  painter.System_SetState(BoolState::UseSound, false);
  if (!painter.System_Initiate()) return 0;
  SpriteQuad quad{};
  const uint32_t colours[4] = {0xFFFF4000, 0xFF00FF80, 0xFF4080FF, 0xFFFFFFFF};
  const float corners[4][2] = {{0, 0}, {64, 0}, {64, 64}, {0, 64}};
  for (int i = 0; i < 4; ++i) quad.v[i] = {corners[i][0], corners[i][1], 0.5f, colours[i], 0, 0};
  quad.blend = kBlendAlpha;
  painter.Gfx_RenderQuad(&quad);
  painter.SaveFrame(path);
  HTEXTURE texture = engine.Texture_Load(path.c_str());
  std::remove(path.c_str());
  return texture;
}

SpriteQuad turnedSprite(HTEXTURE texture, float x, float y, float size, float angle, int blend) {
  SpriteQuad quad{};
  const float c = std::cos(angle), s = std::sin(angle), h = size / 2;
  const float px[4] = {-h, h, h, -h}, py[4] = {-h, -h, h, h}, u[4] = {0, 1, 1, 0}, v[4] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i)
    quad.v[i] = {x + px[i] * c - py[i] * s, y + px[i] * s + py[i] * c, 0.5f, 0xC0FFFFFFu, u[i], v[i]};
  quad.texture = texture;
  quad.blend = blend;
  return quad;
}

// 1,600 figures of 24 pixels on a 960 x 960 target, as a 40 x 40 grid.
void BM_HeadlessFrameOfSprites(benchmark::State& state) {
  HeadlessEngine engine(960, 960, state.range(0) ? HeadlessRenderer::OpenGL : HeadlessRenderer::Software);
  engine.System_SetState(BoolState::UseSound, false);
  if (!engine.System_Initiate()) return state.SkipWithError(engine.System_GetErrorMessage());
  HTEXTURE texture = makeTexture(engine);
  if (texture == 0) return state.SkipWithError("no texture");
  float phase = 0;
  for (auto _ : state) {
    engine.Gfx_BeginScene(0);
    engine.Gfx_Clear(0xFF000000);
    for (int i = 0; i < 1600; ++i) {
      SpriteQuad quad = turnedSprite(texture, 12.0f + (i % 40) * 24.0f, 12.0f + (i / 40) * 24.0f, 24.0f,
                                     phase + i * 0.01f, i % 3 ? kBlendAlpha : kBlendAdditive);
      engine.Gfx_RenderQuad(&quad);
    }
    engine.Gfx_EndScene();
    phase += 0.02f;
  }
  state.SetItemsProcessed(state.iterations() * 1600);
}
BENCHMARK(BM_HeadlessFrameOfSprites)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One sprite 24 times the size of a 960-pixel window, turned: cut to the
// visible part before SDL sees it.
void BM_HeadlessOversizedQuad(benchmark::State& state) {
  HeadlessEngine engine(960, 960, state.range(0) ? HeadlessRenderer::OpenGL : HeadlessRenderer::Software);
  engine.System_SetState(BoolState::UseSound, false);
  if (!engine.System_Initiate()) return state.SkipWithError(engine.System_GetErrorMessage());
  HTEXTURE texture = makeTexture(engine);
  if (texture == 0) return state.SkipWithError("no texture");
  float angle = 0;
  for (auto _ : state) {
    SpriteQuad quad = turnedSprite(texture, 480, 480, 960 * 24, angle, kBlendAlpha);
    engine.Gfx_RenderQuad(&quad);
    angle += 0.01f;
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_HeadlessOversizedQuad)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
