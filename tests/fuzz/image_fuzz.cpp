// libFuzzer target for loading images as the engine does for pix/*.png: the
// header checks, the decoder and the padded texture, then one turned quad
// drawn with it on the headless engine's software renderer. Any bytes must
// give a texture or 0 without a crash, a leak or undefined behaviour, and a
// texture within the size limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "engine/sdl/headless_engine.h"

namespace {

HeadlessEngine& engine() {
  static HeadlessEngine* headless = [] {
    auto* e = new HeadlessEngine(96, 96);
    e->System_SetState(BoolState::UseSound, false);
    if (!e->System_Initiate()) std::abort();
    return e;
  }();
  return *headless;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  HeadlessEngine& headless = engine();
  const HTEXTURE texture = headless.Texture_Load(reinterpret_cast<const char*>(data), static_cast<uint32_t>(size));
  if (!texture) return 0;
  const int width = headless.Texture_GetWidth(texture, true), height = headless.Texture_GetHeight(texture, true);
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096) std::abort();
  const float u = static_cast<float>(width) / static_cast<float>(headless.Texture_GetWidth(texture));
  const float v = static_cast<float>(height) / static_cast<float>(headless.Texture_GetHeight(texture));
  // Drawn past the target's edges, turned by an angle taken from the data.
  SpriteQuad quad{};
  quad.v[0] = {-40, -30, 0.5f, 0xFFFFFFFF, 0, 0};
  quad.v[1] = {140, -30, 0.5f, 0xFFFFFFFF, u, 0};
  quad.v[2] = {140, 120, 0.5f, 0xFFFFFFFF, u, v};
  quad.v[3] = {-40, 120, 0.5f, 0xFFFFFFFF, 0, v};
  quad.texture = texture;
  quad.blend = kBlendAlpha;
  headless.Gfx_SetTransform(48, 48, 0, 0, static_cast<float>(data[size / 2]) / 40.0f, 1.5f, 1.5f);
  headless.Gfx_RenderQuad(&quad);
  headless.Gfx_SetTransform();
  headless.Texture_Free(texture);
  return 0;
}
