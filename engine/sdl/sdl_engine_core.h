// What the windowed SDL engine and the headless engine share: engine states,
// resource packs, textures in atlas pages, batched quad drawing on an SDL
// renderer, transform, clipping, music, the log and the input state. Only
// the window, the frame loop and where input comes from differ.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/engine_random.h"
#include "engine/hge.h"
#include "engine/input_state.h"
#include "engine/sdl/engine_states.h"
#include "engine/sdl/music_player.h"
#include "engine/sdl/quad_batch.h"
#include "engine/sdl/resource_packs.h"
#include "engine/sdl/sdl_handles.h"
#include "engine/sdl/sprite_trim.h"
#include "engine/sdl/texture_atlas.h"
#include "engine/sdl/triangle_clipper.h"

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
  void Gfx_Clear(uint32_t colour) override;
  // Blend mode values with bit 2 set alpha-blend, the others add. A quad
  // naming a texture that is not loaded is dropped; texture coordinates are
  // clamped to the texture surface.
  void Gfx_RenderQuad(const SpriteQuad* quad) override;
  void Gfx_SetClipping(int x, int y, int width, int height) override;
  void Gfx_SetTransform(float x, float y, float dx, float dy, float rotation, float hscale, float vscale) override;

  // Images are padded to power-of-two surfaces (the own size is the image's);
  // the padding repeats the last column and row so that filtering at the
  // image's edge does not blend in empty texels. Only formats whose header
  // gives the size are read (see image_header.h), and images larger than
  // largestImageSide on either side are refused before decoding.
  HTEXTURE Texture_Load(const char* name, uint32_t size, bool mipmap) override;
  void Texture_Free(HTEXTURE texture) override;
  int Texture_GetWidth(HTEXTURE texture, bool originalSize) override;
  int Texture_GetHeight(HTEXTURE texture, bool originalSize) override;

  // Draw calls handed to the renderer between the last Gfx_BeginScene and
  // Gfx_EndScene.
  int DrawsInLastFrame() const { return drawsInLastFrame_; }
  // True when pages hold premultiplied texels and both blends share one
  // blend state (renderers with custom blend modes); false on SDL's
  // software renderer, which keeps its two standard blend modes.
  bool PremultipliedAlpha() const { return premultiplied_; }
  // SDL's name of the renderer ("opengl", "software"); empty before one is attached.
  const char* RendererName() const { return rendererName_.c_str(); }
  // Sprites are drawn as the outline of their texels with alpha (on by
  // default; it changes no pixel, so switching it off serves comparisons).
  // SDL's software renderer draws whole quads either way: it maps texels
  // from each triangle's corners, so cutting quads there would move texels.
  void SetSpriteTrimming(bool on) { trimming_ = on; }

 protected:
  void WriteLogLine(const char* line) override;

  // Takes over the renderer that draws into a target of the given size in
  // pixels (the coordinates quads use); false with the error set on failure.
  bool AttachRenderer(RendererHandle renderer, int width, int height);
  // Frees every texture and the renderer; safe to call twice.
  void ReleaseRenderer();
  // The target was resized (a window that changed size): quads and clipping
  // use the new size from now on, and clipping covers the whole target.
  void ResizeTarget(int width, int height);
  SDL_Renderer* Renderer() const { return renderer_.get(); }
  // Hands every queued quad to the renderer (before reading the target back).
  void FlushDrawing() { batch_.Flush(); }
  // Changes whenever drawing reaches the target (clears and draws).
  uint64_t TargetGeneration() const { return batch_.DrawsEver() + clears_; }
  // Sends the frame to the screen; the headless engine only completes it.
  virtual void PresentFrame() = 0;

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
  struct TextureSlot {
    bool live = false;
    int imageWidth = 0;
    int imageHeight = 0;
    int surfaceWidth = 0;
    int surfaceHeight = 0;
    AtlasPlace place;
    SpriteOutline outline;  // of the surface's texels with alpha
  };

  TextureSlot* findTexture(HTEXTURE texture);
  // The longest image side Texture_Load takes: 4,096 pixels, or less where
  // the renderer's textures are smaller.
  int largestImageSide() const;
  // Places the ARGB8888 image, padded to the surface size, in the atlas.
  bool placeImage(SDL_Surface* image, TextureSlot& slot);
  bool loadBytes(const char* name, uint32_t size, std::vector<uint8_t>& bytes);
  void updateGuardRect();
  void transformPoint(float& x, float& y) const;
  void usePage(const TextureSlot& slot, int blend);
  class SoftwareSink;
  class PremultipliedSink;
  void drawPremultiplied(const ClipVertex (&corners)[4], const TextureSlot& slot, int blend, bool untextured);

  std::string error_;
  EngineRandom random_;
  ResourcePacks packs_;
  std::unordered_map<const void*, std::vector<uint8_t>> blocks_;
  MusicPlayer music_;

  RendererHandle renderer_;
  std::string rendererName_;
  bool softwareRenderer_ = false;
  bool premultiplied_ = false;
  SDL_BlendMode sharedBlend_ = SDL_BLENDMODE_INVALID;
  bool linearFilter_ = false;
  bool trimming_ = true;
  int targetWidth_ = 0;
  int targetHeight_ = 0;
  TextureAtlas atlas_;
  QuadBatch batch_;
  int drawsInLastFrame_ = 0;
  uint64_t clears_ = 0;
  std::vector<TextureSlot> textures_;  // handle = index + 1; freed slots stay empty
  // A white texel that untextured quads sample, so that every quad takes the
  // one textured path (SDL 2.26's software renderer blends an untextured,
  // evenly coloured rectangle in additive mode instead of adding it).
  TextureSlot white_;

  bool transformOn_ = false;
  float centreX_ = 0, centreY_ = 0, shiftX_ = 0, shiftY_ = 0;
  float scaleX_ = 1, scaleY_ = 1, cosine_ = 1, sine_ = 0;

  bool clipOn_ = false;
  bool clipEmpty_ = false;
  SDL_Rect clip_{};
  // Quads reaching past this rectangle are clipped to it before SDL sees
  // them: the clip area plus a margin, so the cut edges stay out of sight.
  ClipRect guard_{};
};
