// Headless engine: the shared SDL drawing on SDL's OpenGL renderer into a
// target texture (offscreen video driver) or on its software renderer over an
// XRGB surface, with scripted frames and input.
#include "engine/sdl/headless_engine.h"

#include <SDL2/SDL_image.h>

#include <cmath>
#include <cstring>

#include "engine/sdl/sdl_engine_core.h"
#include "engine/sdl/sdl_video.h"

class HeadlessCore : public SdlEngineCore {
 public:
  HeadlessCore(int width, int height, HeadlessRenderer renderer) : width_(width), height_(height), choice_(renderer) {}
  ~HeadlessCore() override { System_Shutdown(); }

  bool System_Initiate() override;
  void System_Shutdown() override;
  bool System_Start() override;
  float Timer_GetDelta() override { return frameDelta_; }
  InputState& Input() { return input_; }

  bool SaveFrame(const std::string& pngPath);
  uint32_t GetPixel(int x, int y);
  bool ReadFrame(void* pixels, int pitchBytes);
  void Log(const char* line) { WriteLogLine(line); }

  const int width_;
  const int height_;
  float frameDelta_ = 0.02f;
  std::function<void(int)> beforeFrame_;
  int maxFrames_ = 1000;
  int framesRun_ = 0;

 protected:
  void PresentFrame() override {
    SDL_RenderFlush(Quads().Renderer());
    // OpenGL keeps drawing queued until something needs its result: without
    // a screen to show it on, each frame is finished here, or frames would
    // pile up in the driver's memory.
    if (glFinish_) glFinish_();
  }

 private:
  bool startOpenGl();
  // Brings target_ up to date with what was drawn (OpenGL draws on the GPU
  // side); false when the pixels cannot be read.
  bool readBack();

  const HeadlessRenderer choice_;
  // The software renderer draws into it; with OpenGL it is the copy read back.
  SurfaceHandle target_;
  SubsystemReference video_;
  WindowHandle window_;
  // The texture OpenGL draws into; the renderer owns it and frees it with
  // its other textures.
  SDL_Texture* glTarget_ = nullptr;
  void (*glFinish_)() = nullptr;
  uint64_t readGeneration_ = 0;
  bool readValid_ = false;
};

bool HeadlessCore::startOpenGl() {
  // The display-less driver unless video already runs (then its driver).
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    const char* hint = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    const std::string previous = hint ? hint : "";
    SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen");
    video_.Init(SDL_INIT_VIDEO);
    SDL_SetHint(SDL_HINT_VIDEODRIVER, hint ? previous.c_str() : nullptr);
  } else {
    video_.Init(SDL_INIT_VIDEO);
  }
  if (!video_.Held()) {
    SetSdlError("OpenGL renderer: video");
    return false;
  }
  window_.reset(SDL_CreateWindow("", 0, 0, width_, height_, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN));
  const int driver = RenderDriverIndex("opengl");
  // A named driver switches SDL's own batching off unless it is asked for.
  SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
  RendererHandle renderer(window_ && driver >= 0 ? SDL_CreateRenderer(window_.get(), driver, SDL_RENDERER_ACCELERATED)
                                                 : nullptr);
  glTarget_ =
      renderer ? SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, width_, height_)
               : nullptr;
  if (!renderer || !glTarget_ || SDL_SetRenderTarget(renderer.get(), glTarget_) != 0) {
    SetSdlError(driver < 0 ? "OpenGL renderer: SDL has no OpenGL renderer" : "OpenGL renderer");
    glTarget_ = nullptr;
    renderer.reset();
    window_.reset();
    video_.Reset();
    return false;
  }
  if (!AttachRenderer(std::move(renderer), width_, height_)) {
    glTarget_ = nullptr;
    window_.reset();
    video_.Reset();
    return false;
  }
  glFinish_ = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFinish"));
  return true;
}

bool HeadlessCore::readBack() {
  if (!target_) return false;
  Quads().Flush();
  SDL_RenderFlush(Quads().Renderer());
  if (!window_) return true;
  if (readValid_ && readGeneration_ == Quads().TargetGeneration()) return true;
  if (SDL_RenderReadPixels(Quads().Renderer(), nullptr, SDL_PIXELFORMAT_RGB888, target_->pixels, target_->pitch) != 0)
    return false;
  readGeneration_ = Quads().TargetGeneration();
  readValid_ = true;
  return true;
}

bool HeadlessCore::System_Initiate() {
  if (target_) return true;
  if (width_ <= 0 || height_ <= 0 || width_ > 16384 || height_ > 16384) {
    SetError("System_Initiate: target size out of range");
    return false;
  }
  // No alpha channel in the target: SDL 2.26's software renderer writes a
  // slightly wrong destination alpha when blending varying vertex colours,
  // and a screen has no alpha either.
  target_.reset(SDL_CreateRGBSurfaceWithFormat(0, width_, height_, 32, SDL_PIXELFORMAT_RGB888));
  if (!target_) {
    SetSdlError("System_Initiate: target surface");
    return false;
  }
  readValid_ = false;
  bool started = false;
#if defined(__SANITIZE_ADDRESS__)
  // Mesa's OpenGL driver leaves allocations that LeakSanitizer reports and
  // cannot name (the driver is unloaded by then): under AddressSanitizer the
  // automatic choice is the software renderer, so that real leaks stand out.
  const bool tryOpenGl = choice_ == HeadlessRenderer::OpenGL;
#else
  const bool tryOpenGl = choice_ != HeadlessRenderer::Software;
#endif
  if (tryOpenGl) {
    started = startOpenGl();
    if (!started && choice_ == HeadlessRenderer::OpenGL) {
      target_.reset();
      return false;
    }
  }
  if (!started && !AttachRenderer(RendererHandle(SDL_CreateSoftwareRenderer(target_.get())), width_, height_)) {
    target_.reset();
    return false;
  }
  StartSound(MusicPlayer::Clock::Scripted);
  return true;
}

void HeadlessCore::System_Shutdown() {
  StopEverything();
  target_.reset();  // after the renderer that draws into it
  glTarget_ = nullptr;
  glFinish_ = nullptr;
  window_.reset();
  video_.Reset();
}

bool HeadlessCore::System_Start() {
  if (!ReadyToStart(target_ != nullptr)) return false;
  for (int frame = 0; frame < maxFrames_; ++frame) {
    if (beforeFrame_) beforeFrame_(frame);
    Music().AdvanceScriptedTime(frameDelta_);
    ++framesRun_;
    const bool stop = states_.frameFunc();
    if (states_.renderFunc) states_.renderFunc();
    input_.EndFrame();
    if (stop) break;
  }
  return true;
}

bool HeadlessCore::SaveFrame(const std::string& pngPath) {
  if (!readBack()) return false;
  return IMG_SavePNG(target_.get(), pngPath.c_str()) == 0;
}

uint32_t HeadlessCore::GetPixel(int x, int y) {
  if (!target_ || x < 0 || y < 0 || x >= width_ || y >= height_ || !readBack()) return 0;
  const auto* row = reinterpret_cast<const Uint32*>(static_cast<const uint8_t*>(target_->pixels) + y * target_->pitch);
  return 0xFF000000u | (row[x] & 0x00FFFFFFu);
}

bool HeadlessCore::ReadFrame(void* pixels, int pitchBytes) {
  if (!target_ || !pixels || pitchBytes / 4 < width_) return false;
  Quads().Flush();
  SDL_RenderFlush(Quads().Renderer());
  // Asking for the target's own format makes this a plain copy on the
  // software renderer; other renderers convert on the way.
  return SDL_RenderReadPixels(Quads().Renderer(), nullptr, SDL_PIXELFORMAT_RGB888, pixels, pitchBytes) == 0;
}

// ---- HeadlessEngine: scripting, then plain forwarding -------------------

HeadlessEngine::HeadlessEngine(int width, int height, HeadlessRenderer renderer)
    : core_(std::make_unique<HeadlessCore>(width, height, renderer)) {}
HeadlessEngine::~HeadlessEngine() = default;

void HeadlessEngine::SetFrameDelta(float seconds) {
  if (std::isfinite(seconds) && seconds >= 0) core_->frameDelta_ = seconds;
}
void HeadlessEngine::SetKey(int code, bool down) { core_->Input().SetKey(code, down); }
void HeadlessEngine::SetMousePos(float x, float y) { core_->Input().SetMousePos(x, y); }
void HeadlessEngine::SetMouseWheel(int wheel) { core_->Input().SetWheel(wheel); }
void HeadlessEngine::SetMouseOver(bool over) { core_->Input().SetMouseOver(over); }
void HeadlessEngine::SetBeforeFrame(std::function<void(int)> beforeFrame) {
  core_->beforeFrame_ = std::move(beforeFrame);
}
void HeadlessEngine::SetMaxFrames(int frames) { core_->maxFrames_ = frames; }
int HeadlessEngine::FramesRun() const { return core_->framesRun_; }
int HeadlessEngine::Width() const { return core_->width_; }
int HeadlessEngine::Height() const { return core_->height_; }
bool HeadlessEngine::SaveFrame(const std::string& pngPath) { return core_->SaveFrame(pngPath); }
uint32_t HeadlessEngine::GetPixel(int x, int y) { return core_->GetPixel(x, y); }
bool HeadlessEngine::ReadFrame(void* pixels, int pitchBytes) { return core_->ReadFrame(pixels, pitchBytes); }
const char* HeadlessEngine::RendererName() const { return core_->RendererName(); }
int HeadlessEngine::DrawsInLastFrame() const { return core_->DrawsInLastFrame(); }
void HeadlessEngine::SetSpriteTrimming(bool on) { core_->SetSpriteTrimming(on); }

bool HeadlessEngine::System_Initiate() { return core_->System_Initiate(); }
void HeadlessEngine::System_Shutdown() { core_->System_Shutdown(); }
bool HeadlessEngine::System_Start() { return core_->System_Start(); }
const char* HeadlessEngine::System_GetErrorMessage() { return core_->System_GetErrorMessage(); }
void HeadlessEngine::System_SetState(BoolState state, bool value) { core_->System_SetState(state, value); }
void HeadlessEngine::System_SetState(FuncState state, hgeCallback value) { core_->System_SetState(state, value); }
void HeadlessEngine::System_SetState(IntState state, int value) { core_->System_SetState(state, value); }
void HeadlessEngine::System_SetState(StringState state, const char* value) { core_->System_SetState(state, value); }
void* HeadlessEngine::Resource_Load(const char* name, uint32_t* size) { return core_->Resource_Load(name, size); }
void HeadlessEngine::Resource_Free(void* block) { core_->Resource_Free(block); }
bool HeadlessEngine::Resource_AttachPack(const char* fileName, const char* password) {
  return core_->Resource_AttachPack(fileName, password);
}
float HeadlessEngine::Random_Float(float min, float max) { return core_->Random_Float(min, max); }
float HeadlessEngine::Timer_GetDelta() { return core_->Timer_GetDelta(); }
HEFFECT HeadlessEngine::Effect_Load(const char* name, uint32_t size) { return core_->Effect_Load(name, size); }
HCHANNEL HeadlessEngine::Effect_PlayEx(HEFFECT effect, int volume, int pan, float pitch, bool loop) {
  return core_->Effect_PlayEx(effect, volume, pan, pitch, loop);
}
bool HeadlessEngine::Channel_IsPlaying(HCHANNEL channel) { return core_->Channel_IsPlaying(channel); }
void HeadlessEngine::Input_GetMousePos(float* x, float* y) { core_->Input_GetMousePos(x, y); }
int HeadlessEngine::Input_GetMouseWheel() { return core_->Input_GetMouseWheel(); }
bool HeadlessEngine::Input_IsMouseOver() { return core_->Input_IsMouseOver(); }
bool HeadlessEngine::Input_GetKeyState(int key) { return core_->Input_GetKeyState(key); }
bool HeadlessEngine::Gfx_BeginScene(HTARGET target) { return core_->Gfx_BeginScene(target); }
void HeadlessEngine::Gfx_EndScene() { core_->Gfx_EndScene(); }
void HeadlessEngine::Gfx_Clear(uint32_t colour) { core_->Gfx_Clear(colour); }
void HeadlessEngine::Gfx_RenderQuad(const SpriteQuad* quad) { core_->Gfx_RenderQuad(quad); }
void HeadlessEngine::Gfx_SetClipping(int x, int y, int width, int height) {
  core_->Gfx_SetClipping(x, y, width, height);
}
void HeadlessEngine::Gfx_SetTransform(float x, float y, float dx, float dy, float rotation, float hscale,
                                      float vscale) {
  core_->Gfx_SetTransform(x, y, dx, dy, rotation, hscale, vscale);
}
bool HeadlessEngine::Gfx_ReadFrame(FramePixels& frame) { return core_->Gfx_ReadFrame(frame); }
HTEXTURE HeadlessEngine::Texture_Load(const char* name, uint32_t size, bool mipmap) {
  return core_->Texture_Load(name, size, mipmap);
}
void HeadlessEngine::Texture_Free(HTEXTURE texture) { core_->Texture_Free(texture); }
int HeadlessEngine::Texture_GetWidth(HTEXTURE texture, bool originalSize) {
  return core_->Texture_GetWidth(texture, originalSize);
}
int HeadlessEngine::Texture_GetHeight(HTEXTURE texture, bool originalSize) {
  return core_->Texture_GetHeight(texture, originalSize);
}
void HeadlessEngine::WriteLogLine(const char* line) { core_->Log(line); }
