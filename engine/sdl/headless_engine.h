// The engine without a screen: SDL's software renderer draws into a surface
// in memory, and time and input are whatever the caller scripts. No display,
// window or sound device is needed; tests and command-line tools use it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "engine/hge.h"

class HeadlessCore;

// Which SDL renderer draws the headless target. Software gives the same
// pixels on every machine; OpenGL (SDL's OpenGL renderer on the display-less
// "offscreen" video driver, through EGL) is faster but its pixels depend on
// the OpenGL implementation; Auto takes OpenGL when it starts, else software.
enum class HeadlessRenderer { Software, OpenGL, Auto };

// Draws with the same code as the windowed engine. Sound: tracks load and
// decode as there (through SDL's dummy output), but nothing is played; a
// channel plays for its track's duration counted in scripted time, which
// advances by the frame delta at the start of each frame of System_Start, so
// runs are the same on every machine. The window states (title, size, full
// screen, cursor) are accepted and ignored: the target keeps the size given
// at construction. Texture filtering has no effect on the software renderer,
// which samples the nearest texel.
class HeadlessEngine : public HGE {
 public:
  HeadlessEngine(int width, int height, HeadlessRenderer renderer = HeadlessRenderer::Software);
  ~HeadlessEngine() override;
  HeadlessEngine(const HeadlessEngine&) = delete;
  HeadlessEngine& operator=(const HeadlessEngine&) = delete;

  // --- Scripting and reading back -------------------------------------
  // Seconds each frame reports and the sound clock advances (0.02 unless set).
  void SetFrameDelta(float seconds);
  // A key going down or up between frames: one pressed and released before
  // a frame is reported held during that frame, as the windowed engine does.
  void SetKey(int code, bool down);
  void SetMousePos(float x, float y);
  // Reported by Input_GetMouseWheel until the end of the next frame, as a
  // real wheel's movement is reported for one frame.
  void SetMouseWheel(int wheel);
  void SetMouseOver(bool over);
  // Called with the frame number (from 0) before each frame of System_Start.
  void SetBeforeFrame(std::function<void(int frame)> beforeFrame);
  // System_Start ends after this many frames at the latest (1,000 unless set).
  void SetMaxFrames(int frames);
  int FramesRun() const;
  int Width() const;
  int Height() const;
  // Writes the target as it is now as an opaque PNG; false when not
  // initiated or when the file cannot be written.
  bool SaveFrame(const std::string& pngPath);
  // The target's pixel as opaque ARGB; 0 outside the target or when not initiated.
  uint32_t GetPixel(int x, int y);
  // Copies the whole target into pixels, rows top to bottom pitchBytes apart,
  // each pixel a 32-bit XRGB word (bytes B, G, R, unused in memory). False
  // when not initiated, when pitchBytes is less than four times the width, or
  // when the renderer cannot read back.
  bool ReadFrame(void* pixels, int pitchBytes);
  // SDL's name of the renderer in use ("software", "opengl"); empty before
  // System_Initiate.
  const char* RendererName() const;
  // Draw calls the last frame (Gfx_BeginScene to Gfx_EndScene) handed to the renderer.
  int DrawsInLastFrame() const;
  // Whether sprites are drawn trimmed to their texels with alpha (on unless
  // switched off; no pixel changes, so off serves comparisons).
  void SetSpriteTrimming(bool on);

  // --- HGE ----------------------------------------------------------------
  bool System_Initiate() override;
  void System_Shutdown() override;
  // Runs frames until the frame function returns true or the frame limit is
  // reached. False when not initiated or when no frame function is set.
  bool System_Start() override;
  const char* System_GetErrorMessage() override;
  void System_SetState(BoolState state, bool value) override;
  void System_SetState(FuncState state, hgeCallback value) override;
  void System_SetState(IntState state, int value) override;
  void System_SetState(StringState state, const char* value) override;
  void* Resource_Load(const char* name, uint32_t* size = nullptr) override;
  void Resource_Free(void* block) override;
  bool Resource_AttachPack(const char* fileName, const char* password = nullptr) override;
  float Random_Float(float min, float max) override;
  float Timer_GetDelta() override;
  HEFFECT Effect_Load(const char* name, uint32_t size = 0) override;
  HCHANNEL Effect_PlayEx(HEFFECT effect, int volume = 100, int pan = 0, float pitch = 1.0f, bool loop = false) override;
  bool Channel_IsPlaying(HCHANNEL channel) override;
  void Input_GetMousePos(float* x, float* y) override;
  int Input_GetMouseWheel() override;
  bool Input_IsMouseOver() override;
  bool Input_GetKeyState(int key) override;
  bool Gfx_BeginScene(HTARGET target = 0) override;
  void Gfx_EndScene() override;
  void Gfx_Clear(uint32_t colour) override;
  void Gfx_RenderQuad(const SpriteQuad* quad) override;
  void Gfx_SetClipping(int x = 0, int y = 0, int width = 0, int height = 0) override;
  void Gfx_SetTransform(float x = 0, float y = 0, float dx = 0, float dy = 0, float rotation = 0, float hscale = 0,
                        float vscale = 0) override;
  bool Gfx_ReadFrame(FramePixels& frame) override;
  HTEXTURE Texture_Load(const char* name, uint32_t size = 0, bool mipmap = false) override;
  void Texture_Free(HTEXTURE texture) override;
  int Texture_GetWidth(HTEXTURE texture, bool originalSize = false) override;
  int Texture_GetHeight(HTEXTURE texture, bool originalSize = false) override;

 protected:
  void WriteLogLine(const char* line) override;

 private:
  // Holds every SDL object, so that this header needs no SDL.
  std::unique_ptr<HeadlessCore> core_;
};
