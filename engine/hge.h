// The engine interface: window, frame loop, input, textures, quad drawing,
// sound and resource packs. No SDL type appears here; the SDL engine, the
// headless engine and the recording test engine implement it.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <vector>

#include "engine/quad.h"

constexpr int kHgeVersion = 0x160;

// State numbers as the engine's version 0x160 numbers them.
enum class FuncState : int { FrameFunc = 1, RenderFunc = 2 };
enum class StringState : int { Title = 7 };
enum class IntState : int { ScreenWidth = 8, ScreenHeight = 9, ScreenBpp = 10, Fps = 23 };
enum class BoolState : int {
  Windowed = 11,
  ZBuffer = 12,
  TextureFilter = 13,
  UseSound = 18,
  DontSuspend = 24,
  HideMouse = 25,
};

// Windows virtual-key codes, the codes Input_GetKeyState takes.
constexpr int kKeyLeftButton = 0x01;
constexpr int kKeyRightButton = 0x02;
constexpr int kKeyShift = 0x10;
constexpr int kKeyCtrl = 0x11;
constexpr int kKeyA = 'A';
constexpr int kKeyD = 'D';
constexpr int kKeyE = 'E';
constexpr int kKeyN = 'N';
constexpr int kKeyQ = 'Q';
constexpr int kKeyS = 'S';
constexpr int kKeyU = 'U';
constexpr int kKeyW = 'W';
constexpr int kKeyX = 'X';
constexpr int kKeyBackspace = 0x08;
constexpr int kKeyB = 'B';
constexpr int kKeyF = 'F';
constexpr int kKeyP = 'P';
constexpr int kKeyCount = 256;

// A frame read back from the drawing target: rows top to bottom, each pixel
// an opaque ARGB word.
struct FramePixels {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> argb;
};

// The frame function returns true to end the loop; the render function's
// result is ignored.
using hgeCallback = bool (*)();

class HGE {
 public:
  virtual ~HGE() = default;

  // Drops one reference taken by hgeCreate; the last one destroys the engine.
  void Release();

  virtual bool System_Initiate() = 0;
  virtual void System_Shutdown() = 0;
  // Runs the frame loop: frame function, then render function, once per
  // frame, until the frame function returns true or the window is closed.
  virtual bool System_Start() = 0;
  virtual const char* System_GetErrorMessage() = 0;
  // Formats one line into the engine's log (at most 1,023 characters kept).
  void System_Log(const char* format, ...) __attribute__((format(printf, 2, 3)));

  virtual void System_SetState(BoolState state, bool value) = 0;
  virtual void System_SetState(FuncState state, hgeCallback value) = 0;
  virtual void System_SetState(IntState state, int value) = 0;
  virtual void System_SetState(StringState state, const char* value) = 0;

  // The named file's bytes from the attached packs, else the disk; null when
  // neither holds it. Names use "\" or "/" as separators. Free with Resource_Free.
  virtual void* Resource_Load(const char* name, uint32_t* size = nullptr) = 0;
  virtual void Resource_Free(void* block) = 0;
  virtual bool Resource_AttachPack(const char* fileName, const char* password = nullptr) = 0;

  virtual float Random_Float(float min, float max) = 0;
  // Seconds since the previous frame.
  virtual float Timer_GetDelta() = 0;

  // size 0: name is a resource name. Returns 0 on failure.
  virtual HEFFECT Effect_Load(const char* name, uint32_t size = 0) = 0;
  // volume 0..100, pan -100..100. Returns the playing channel, 0 on failure.
  virtual HCHANNEL Effect_PlayEx(HEFFECT effect, int volume = 100, int pan = 0, float pitch = 1.0f,
                                 bool loop = false) = 0;
  // False for channel 0 and once the channel's sound has ended.
  virtual bool Channel_IsPlaying(HCHANNEL channel) = 0;

  // Pointer position in window pixels.
  virtual void Input_GetMousePos(float* x, float* y) = 0;
  // Wheel movement of the current frame, positive away from the user.
  virtual int Input_GetMouseWheel() = 0;
  virtual bool Input_IsMouseOver() = 0;
  virtual bool Input_GetKeyState(int key) = 0;

  virtual bool Gfx_BeginScene(HTARGET target = 0) = 0;
  virtual void Gfx_EndScene() = 0;
  virtual void Gfx_Clear(uint32_t colour) = 0;
  // Quads with a non-finite coordinate are dropped.
  virtual void Gfx_RenderQuad(const SpriteQuad* quad) = 0;
  // Window pixels; all zero resets to the whole target.
  virtual void Gfx_SetClipping(int x = 0, int y = 0, int width = 0, int height = 0) = 0;
  // Later drawing maps p to R(rotation)·S(hscale, vscale)·(p - (x, y)) + (x + dx, y + dy).
  // Both scales 0 resets to the identity.
  virtual void Gfx_SetTransform(float x = 0, float y = 0, float dx = 0, float dy = 0, float rotation = 0,
                                float hscale = 0, float vscale = 0) = 0;

  // Reads back what has been drawn since Gfx_BeginScene, before Gfx_EndScene
  // shows it: the whole target at its size in pixels (the window, or the
  // whole screen). False, with frame emptied, when it cannot be read.
  virtual bool Gfx_ReadFrame(FramePixels& frame) = 0;

  // size 0: name is a resource name. Returns 0 on failure.
  virtual HTEXTURE Texture_Load(const char* name, uint32_t size = 0, bool mipmap = false) = 0;
  virtual void Texture_Free(HTEXTURE texture) = 0;
  // The image's own size when originalSize is true, else the texture surface's.
  virtual int Texture_GetWidth(HTEXTURE texture, bool originalSize = false) = 0;
  virtual int Texture_GetHeight(HTEXTURE texture, bool originalSize = false) = 0;

 protected:
  virtual void WriteLogLine(const char* line) = 0;
};

// Returns the one engine instance, creating it with the installed factory on
// the first call, and counts a reference. Null for another version or when
// no engine can be made.
HGE* hgeCreate(int version);
