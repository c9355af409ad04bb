// The shared SDL engine's own calls: errors and the log, the engine states,
// packs, music, loading textures, and the frame's start and end around the
// quad renderer's drawing.
#include "engine/sdl/sdl_engine_core.h"

#include <cstdint>
#include <cstdio>
#include <new>

#include "engine/sdl/image_decoding.h"

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
  quads_.Release();
  packs_.DetachAll();
}

bool SdlEngineCore::ReadyToStart(bool initiated) {
  if (!initiated) {
    SetError("System_Start: System_Initiate wasn't called");
    return false;
  }
  if (!states_.frameFunc) {
    SetError("System_Start: no frame function defined");
    return false;
  }
  return true;
}

// ---- States -------------------------------------------------------------

void SdlEngineCore::System_SetState(BoolState state, bool value) {
  switch (state) {
    case BoolState::Windowed: states_.windowed = value; break;
    case BoolState::ZBuffer: states_.zBuffer = value; break;
    case BoolState::TextureFilter:
      states_.textureFilter = value;
      quads_.SetTextureFilter(value);
      break;
    case BoolState::UseSound: states_.useSound = value; break;
    case BoolState::DontSuspend: states_.dontSuspend = value; break;
    case BoolState::HideMouse: states_.hideMouse = value; break;
  }
}

void SdlEngineCore::System_SetState(FuncState state, hgeCallback value) {
  if (state == FuncState::FrameFunc) states_.frameFunc = value;
  if (state == FuncState::RenderFunc) states_.renderFunc = value;
}

void SdlEngineCore::System_SetState(IntState state, int value) {
  switch (state) {
    case IntState::ScreenWidth: states_.screenWidth = value; break;
    case IntState::ScreenHeight: states_.screenHeight = value; break;
    case IntState::ScreenBpp: states_.bitsPerPixel = value; break;
    case IntState::Fps: states_.framesPerSecond = value; break;
  }
}

void SdlEngineCore::System_SetState(StringState state, const char* value) {
  if (state == StringState::Title) states_.title = value ? value : "";
}

// ---- Resources ----------------------------------------------------------

bool SdlEngineCore::loadBytes(const char* name, uint32_t size, std::vector<uint8_t>& bytes, std::string* reason) {
  if (reason) *reason = "not found";
  if (!name) return false;
  if (size != 0) {
    // A block in memory rather than a resource name.
    const auto* data = reinterpret_cast<const uint8_t*>(name);
    bytes.assign(data, data + size);
    return true;
  }
  return packs_.Load(name, bytes, reason);
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

// ---- Drawing ------------------------------------------------------------

bool SdlEngineCore::AttachRenderer(RendererHandle renderer, int width, int height) {
  quads_.SetTextureFilter(states_.textureFilter);
  std::string reason;
  if (quads_.Attach(std::move(renderer), width, height, &reason)) return true;
  SetError(reason);
  return false;
}

bool SdlEngineCore::Gfx_BeginScene(HTARGET target) {
  if (!quads_.Attached()) {
    SetError("Gfx_BeginScene: the engine is not running");
    return false;
  }
  if (target != 0) {
    SetError("Gfx_BeginScene: render targets are not supported");
    return false;
  }
  quads_.StartFrame();
  return true;
}

void SdlEngineCore::Gfx_EndScene() {
  if (!quads_.Attached()) return;
  quads_.FinishFrame();
  PresentFrame();
}

bool SdlEngineCore::Gfx_ReadFrame(FramePixels& frame) {
  frame.width = frame.height = 0;
  frame.argb.clear();
  if (!quads_.Attached()) {
    SetError("Gfx_ReadFrame: the engine is not running");
    return false;
  }
  quads_.Flush();
  SDL_Renderer* renderer = quads_.Renderer();
  SDL_RenderFlush(renderer);
  // A window scaled to fit (logical size) is read whole, bars included, as
  // it shows: the scaling is lifted for the read and put back after it.
  int logicalWidth = 0, logicalHeight = 0;
  SDL_RenderGetLogicalSize(renderer, &logicalWidth, &logicalHeight);
  const bool scaled = logicalWidth > 0 && logicalHeight > 0;
  if (scaled) SDL_RenderSetLogicalSize(renderer, 0, 0);
  int width = 0, height = 0;
  bool sized = false;
  if (SDL_Texture* target = SDL_GetRenderTarget(renderer)) {
    sized = SDL_QueryTexture(target, nullptr, nullptr, &width, &height) == 0;
  } else {
    sized = SDL_GetRendererOutputSize(renderer, &width, &height) == 0;
  }
  bool read = false;
  if (sized && width > 0 && height > 0) {
    frame.argb.resize(static_cast<size_t>(width) * height);
    read = SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, frame.argb.data(), width * 4) == 0;
  }
  if (scaled) SDL_RenderSetLogicalSize(renderer, logicalWidth, logicalHeight);
  if (!read) {
    SetSdlError("Gfx_ReadFrame: reading the frame back");
    frame.argb.clear();
    return false;
  }
  // The target's alpha says nothing about what the screen shows.
  for (uint32_t& pixel : frame.argb) pixel |= 0xFF000000u;
  frame.width = width;
  frame.height = height;
  return true;
}

HTEXTURE SdlEngineCore::Texture_Load(const char* name, uint32_t size, bool mipmap) {
  const std::string label = size == 0 && name ? name : "(memory)";
  auto fail = [&](const std::string& reason) {
    SetError("Texture_Load: " + label + ": " + reason);
    return HTEXTURE{0};
  };
  if (!quads_.Attached()) return fail("the engine is not running");
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!loadBytes(name, size, bytes, &reason)) return fail(reason);
  if (bytes.size() > INT32_MAX) return fail("the file is too large");
  SurfaceHandle image = DecodeImage(bytes, quads_.LargestImageSide(), &reason);
  if (!image) return fail(reason);
  const HTEXTURE texture = quads_.AddTexture(image.get());
  if (texture == 0) SetSdlError("Texture_Load: creating the texture");
  return texture;
}
