// What the windowed SDL engine and the headless engine share: the engine
// states, resource packs, music, the log and the input state, with drawing
// forwarded to the quad renderer. Only the window, the frame loop and where
// input comes from differ.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/engine_random.h"
#include "engine/hge.h"
#include "engine/input_state.h"
#include "engine/sdl/engine_states.h"
#include "engine/sdl/music_player.h"
#include "engine/sdl/quad_renderer.h"
#include "engine/sdl/resource_packs.h"
#include "engine/sdl/sdl_handles.h"

class SdlEngineCore : public InputEngine {
 public:
  SdlEngineCore();
  ~SdlEngineCore() override;
  SdlEngineCore(const SdlEngineCore&) = delete;
  SdlEngineCore& operator=(const SdlEngineCore&) = delete;

  const char* System_GetErrorMessage() override;
  void System_SetState(BoolState state, bool value) override;
  void System_SetState(FuncState state, hgeCallback value) override;
  void System_SetState(IntState state, int value) override;
  void System_SetState(StringState state, const char* value) override;

  // The block ends with one extra zero byte (not counted in *size), so text
  // readers cannot run past it.
  void* Resource_Load(const char* name, uint32_t* size) override;
  void Resource_Free(void* block) override;
  bool Resource_AttachPack(const char* fileName, const char* password) override;

  float Random_Float(float min, float max) override { return random_.Float(min, max); }

  // One track plays at a time: starting one stops the one before, whose
  // channel then reports not playing. Pitch is not supported and ignored.
  HEFFECT Effect_Load(const char* name, uint32_t size) override;
  HCHANNEL Effect_PlayEx(HEFFECT effect, int volume, int pan, float pitch, bool loop) override;
  bool Channel_IsPlaying(HCHANNEL channel) override;

  bool Gfx_BeginScene(HTARGET target) override;
  void Gfx_EndScene() override;
  void Gfx_Clear(uint32_t colour) override { quads_.Clear(colour); }
  // See QuadRenderer::Draw.
  void Gfx_RenderQuad(const SpriteQuad* quad) override {
    if (quad) quads_.Draw(*quad);
  }
  void Gfx_SetClipping(int x, int y, int width, int height) override { quads_.SetClipping(x, y, width, height); }
  void Gfx_SetTransform(float x, float y, float dx, float dy, float rotation, float hscale, float vscale) override {
    quads_.SetTransform(x, y, dx, dy, rotation, hscale, vscale);
  }
  // Reads the target as it is: the batch is flushed first.
  bool Gfx_ReadFrame(FramePixels& frame) override;

  // See QuadRenderer::AddTexture; images larger than
  // QuadRenderer::LargestImageSide on either side are refused before decoding.
  HTEXTURE Texture_Load(const char* name, uint32_t size, bool mipmap) override;
  void Texture_Free(HTEXTURE texture) override { quads_.FreeTexture(texture); }
  int Texture_GetWidth(HTEXTURE texture, bool originalSize) override {
    return quads_.TextureWidth(texture, originalSize);
  }
  int Texture_GetHeight(HTEXTURE texture, bool originalSize) override {
    return quads_.TextureHeight(texture, originalSize);
  }

  // Draw calls handed to the renderer between the last Gfx_BeginScene and
  // Gfx_EndScene.
  int DrawsInLastFrame() const { return quads_.DrawsInLastFrame(); }
  // See QuadRenderer::PremultipliedAlpha, Name and SetTrimming.
  bool PremultipliedAlpha() const { return quads_.PremultipliedAlpha(); }
  const char* RendererName() const { return quads_.Name(); }
  void SetSpriteTrimming(bool on) { quads_.SetTrimming(on); }

 protected:
  void WriteLogLine(const char* line) override;

  // Hands the renderer to the quad renderer; false with the error set on failure.
  bool AttachRenderer(RendererHandle renderer, int width, int height);
  QuadRenderer& Quads() { return quads_; }
  // Sends the frame to the screen; the headless engine only completes it.
  virtual void PresentFrame() = 0;
  // The checks both frame loops make before the first frame: false, with
  // the error set, when the engine was not initiated or has no frame function.
  bool ReadyToStart(bool initiated);

  // Opens the music output when the sound state is on; a failure is logged,
  // not fatal (tracks then fail to load).
  void StartSound(MusicPlayer::Clock clock);
  void StopEverything();  // sound, textures, renderer, packs
  MusicPlayer& Music() { return music_; }

  void SetError(const std::string& message);
  // "what: SDL's message".
  void SetSdlError(const char* what);

  EngineStates states_;

 private:
  // False with the reason in *reason when not null (see ResourcePacks::Load).
  bool loadBytes(const char* name, uint32_t size, std::vector<uint8_t>& bytes, std::string* reason = nullptr);

  std::string error_;
  EngineRandom random_;
  ResourcePacks packs_;
  std::unordered_map<const void*, std::vector<uint8_t>> blocks_;
  MusicPlayer music_;
  QuadRenderer quads_;
};
