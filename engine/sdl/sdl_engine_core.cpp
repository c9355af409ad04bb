// The shared SDL engine's system, resource, sound and scene calls: errors and
// the log, packs, music, attaching the renderer, clearing, clipping and the
// transform. Textures and quads have files of their own.
#include "engine/sdl/sdl_engine_core.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <new>

namespace {

// Distance in pixels between the visible area and the edges where oversized
// quads are cut.
constexpr float kGuardMargin = 2.0f;

}  // namespace

SdlEngineCore::SdlEngineCore() = default;

SdlEngineCore::~SdlEngineCore() { StopEverything(); }

// ---- System -------------------------------------------------------------

const char* SdlEngineCore::System_GetErrorMessage() { return error_.empty() ? SDL_GetError() : error_.c_str(); }

void SdlEngineCore::SetError(const std::string& message) {
  error_ = message;
  System_Log("%s", message.c_str());
}

void SdlEngineCore::SetSdlError(const char* what) { SetError(std::string(what) + ": " + SDL_GetError()); }

void SdlEngineCore::WriteLogLine(const char* line) { std::fprintf(stderr, "%s\n", line); }

void SdlEngineCore::StopEverything() {
  music_.Close();
  ReleaseRenderer();
  packs_.DetachAll();
}

// ---- Resources ----------------------------------------------------------

bool SdlEngineCore::loadBytes(const char* name, uint32_t size, std::vector<uint8_t>& bytes) {
  if (!name) return false;
  if (size != 0) {
    // A block in memory rather than a resource name.
    const auto* data = reinterpret_cast<const uint8_t*>(name);
    bytes.assign(data, data + size);
    return true;
  }
  return packs_.Load(name, bytes);
}

void* SdlEngineCore::Resource_Load(const char* name, uint32_t* size) {
  if (size) *size = 0;
  std::vector<uint8_t> bytes;
  if (!name || !packs_.Load(name, bytes) || bytes.size() >= UINT32_MAX) return nullptr;
  const auto length = static_cast<uint32_t>(bytes.size());
  try {
    bytes.push_back(0);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (size) *size = length;
  void* address = bytes.data();
  // Moving the vector keeps its buffer, so the address stays valid.
  blocks_.emplace(address, std::move(bytes));
  return address;
}

void SdlEngineCore::Resource_Free(void* block) { blocks_.erase(block); }

bool SdlEngineCore::Resource_AttachPack(const char* fileName, const char* password) {
  if (password && *password) System_Log("Resource_AttachPack: pack passwords are not supported, ignored");
  std::string reason;
  if (packs_.Attach(fileName, &reason)) return true;
  System_Log("Resource_AttachPack: %s", reason.c_str());
  return false;
}

// ---- Sound --------------------------------------------------------------

void SdlEngineCore::StartSound(MusicPlayer::Clock clock) {
  if (!states_.useSound) return;
  std::string note;
  bool opened = music_.Open(clock, &note);
  if (!note.empty() && (!opened || clock == MusicPlayer::Clock::Device)) System_Log("Sound: %s", note.c_str());
}

HEFFECT SdlEngineCore::Effect_Load(const char* name, uint32_t size) {
  if (!music_.IsOpen()) {
    System_Log("Effect_Load: sound is off");
    return 0;
  }
  std::vector<uint8_t> bytes;
  if (!loadBytes(name, size, bytes)) {
    System_Log("Effect_Load: %s not found", size == 0 && name ? name : "(memory)");
    return 0;
  }
  std::string reason;
  HEFFECT effect = music_.Load(std::move(bytes), &reason);
  if (effect == 0) System_Log("Effect_Load: %s: %s", size == 0 && name ? name : "(memory)", reason.c_str());
  return effect;
}

HCHANNEL SdlEngineCore::Effect_PlayEx(HEFFECT effect, int volume, int pan, float pitch, bool loop) {
  return music_.Play(effect, volume, pan, loop);
}

bool SdlEngineCore::Channel_IsPlaying(HCHANNEL channel) { return music_.IsPlaying(channel); }

// ---- Renderer -----------------------------------------------------------

bool SdlEngineCore::AttachRenderer(RendererHandle renderer, int width, int height) {
  ReleaseRenderer();
  if (!renderer || width <= 0 || height <= 0) {
    SetError("no renderer for the drawing target");
    return false;
  }
  renderer_ = std::move(renderer);
  targetWidth_ = width;
  targetHeight_ = height;

  SDL_RendererInfo info{};
  SDL_GetRendererInfo(renderer_.get(), &info);
  rendererName_ = info.name ? info.name : "";
  softwareRenderer_ = (info.flags & SDL_RENDERER_SOFTWARE) != 0;
  // Premultiplied texels let alpha blending and additive blending share one
  // blend state, source × 1 + destination × (1 − source alpha), so that
  // quads of both kinds go out in one draw. SDL's software renderer has no
  // custom blend modes and keeps its two standard ones.
  sharedBlend_ =
      SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD,
                                 SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
  premultiplied_ = false;
  if (!softwareRenderer_) {
    TextureHandle probe(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 1, 1));
    premultiplied_ = probe && SDL_SetTextureBlendMode(probe.get(), sharedBlend_) == 0;
  }
  const int maxSide = std::max(0, std::min(info.max_texture_width, info.max_texture_height));
  // SDL 2.26's software triangle code overflows when a large triangle maps
  // texels far from the texture's origin, as in a shared page: there every
  // image keeps a texture of its own.
  atlas_.Attach(renderer_.get(), premultiplied_, !softwareRenderer_, maxSide);
  batch_.Attach(renderer_.get());
  linearFilter_ = states_.textureFilter;

  SurfaceHandle white(SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_ARGB8888));
  if (white) SDL_FillRect(white.get(), nullptr, 0xFFFFFFFFu);
  white_ = TextureSlot{};
  if (!white || !placeImage(white.get(), white_)) {
    SetSdlError("white texture");
    ReleaseRenderer();
    return false;
  }

  transformOn_ = false;
  drawsInLastFrame_ = 0;
  Gfx_SetClipping(0, 0, 0, 0);
  return true;
}

void SdlEngineCore::ReleaseRenderer() {
  batch_.Attach(nullptr);
  textures_.clear();
  white_ = TextureSlot{};
  atlas_.Clear();
  renderer_.reset();
  rendererName_.clear();
  targetWidth_ = targetHeight_ = 0;
  clipOn_ = clipEmpty_ = false;
}

void SdlEngineCore::ResizeTarget(int width, int height) {
  if (!renderer_ || width <= 0 || height <= 0) return;
  targetWidth_ = width;
  targetHeight_ = height;
  Gfx_SetClipping(0, 0, 0, 0);
}

bool SdlEngineCore::Gfx_BeginScene(HTARGET target) {
  if (!renderer_) {
    SetError("Gfx_BeginScene: the engine is not running");
    return false;
  }
  if (target != 0) {
    SetError("Gfx_BeginScene: render targets are not supported");
    return false;
  }
  batch_.TakeDrawCount();
  return true;
}

void SdlEngineCore::Gfx_EndScene() {
  if (!renderer_) return;
  batch_.Flush();
  drawsInLastFrame_ = batch_.TakeDrawCount();
  PresentFrame();
}

void SdlEngineCore::Gfx_Clear(uint32_t colour) {
  if (!renderer_) return;
  batch_.Flush();
  ++clears_;
  SDL_SetRenderDrawColor(renderer_.get(), (colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF, colour >> 24);
  SDL_RenderClear(renderer_.get());
}

void SdlEngineCore::Gfx_SetClipping(int x, int y, int width, int height) {
  if (!renderer_) return;
  batch_.Flush();
  if (x == 0 && y == 0 && width == 0 && height == 0) {
    clipOn_ = clipEmpty_ = false;
    SDL_RenderSetClipRect(renderer_.get(), nullptr);
  } else {
    // Intersected with the target in 64 bits: x + width may not fit an int.
    int64_t left = std::max<int64_t>(x, 0);
    int64_t top = std::max<int64_t>(y, 0);
    int64_t right = std::min<int64_t>(int64_t{x} + width, targetWidth_);
    int64_t bottom = std::min<int64_t>(int64_t{y} + height, targetHeight_);
    clipOn_ = true;
    clipEmpty_ = width <= 0 || height <= 0 || right <= left || bottom <= top;
    if (!clipEmpty_) {
      clip_ = {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
               static_cast<int>(bottom - top)};
      SDL_RenderSetClipRect(renderer_.get(), &clip_);
    }
  }
  updateGuardRect();
}

void SdlEngineCore::updateGuardRect() {
  SDL_Rect area = clipOn_ && !clipEmpty_ ? clip_ : SDL_Rect{0, 0, targetWidth_, targetHeight_};
  guard_ = {static_cast<float>(area.x) - kGuardMargin, static_cast<float>(area.y) - kGuardMargin,
            static_cast<float>(area.x + area.w) + kGuardMargin, static_cast<float>(area.y + area.h) + kGuardMargin};
}

void SdlEngineCore::Gfx_SetTransform(float x, float y, float dx, float dy, float rotation, float hscale, float vscale) {
  if (hscale == 0.0f && vscale == 0.0f) {
    transformOn_ = false;
    return;
  }
  transformOn_ = true;
  centreX_ = x;
  centreY_ = y;
  shiftX_ = dx;
  shiftY_ = dy;
  scaleX_ = hscale;
  scaleY_ = vscale;
  cosine_ = static_cast<float>(std::cos(static_cast<double>(rotation)));
  sine_ = static_cast<float>(std::sin(static_cast<double>(rotation)));
}

void SdlEngineCore::transformPoint(float& x, float& y) const {
  float px = (x - centreX_) * scaleX_;
  float py = (y - centreY_) * scaleY_;
  x = px * cosine_ - py * sine_ + centreX_ + shiftX_;
  y = px * sine_ + py * cosine_ + centreY_ + shiftY_;
}
