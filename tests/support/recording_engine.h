// An engine that draws nothing: it records what the program asks of it
// (states, quads, transforms, clipping, log lines, loads) and plays scripted
// time and input, so logic can be tested without SDL.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/engine_random.h"
#include "engine/hge.h"
#include "engine/input_state.h"

class RecordingEngine : public InputEngine {
 public:
  struct StateChange {
    char kind;  // 'b' boolean, 'f' function, 'i' integer, 's' text
    int state;
    int intValue;  // booleans as 0/1; functions as 1 when set
    std::string textValue;
  };
  struct Transform {
    float x, y, dx, dy, rotation, hscale, vscale;
  };
  struct Clip {
    int x, y, width, height;
  };
  struct TextureInfo {
    std::string name;
    int width, height;                // own image size
    int surfaceWidth, surfaceHeight;  // allocated surface size
  };

  // --- Scripting -------------------------------------------------------
  bool initiateResult = true;
  std::string errorMessage = "no display";
  float frameDelta = 0.02f;
  // Keys, pointer and wheel as the next frame sees them (keys with SetHeld).
  // System_Start ends each frame as the real engines do: the wheel's
  // movement returns to 0.
  InputState& Input() { return input_; }
  // Resources the engine "finds"; Texture_Load and Effect_Load succeed only
  // for names listed here (textures: with the given sizes).
  std::map<std::string, std::string> resources;
  std::map<std::string, TextureInfo> textureFiles;
  // Called before each frame in System_Start with the frame number (0-based).
  std::function<void(int)> beforeFrame;
  int maxFrames = 1000;  // System_Start stops after this many frames
  // What Gfx_ReadFrame hands back; an empty frame makes it fail.
  FramePixels frameToRead;

  // --- Recordings ------------------------------------------------------
  std::vector<std::string> calls;  // operation names in order (not per-quad)
  std::vector<StateChange> states;
  std::vector<SpriteQuad> quads;
  std::vector<Transform> transforms;
  std::vector<Clip> clips;
  std::vector<uint32_t> clears;
  std::vector<std::string> logLines;
  std::vector<std::string> attachedPacks;
  std::vector<HTEXTURE> freedTextures;
  std::vector<std::pair<HEFFECT, int>> played;  // effect, volume
  std::map<HCHANNEL, bool> channelPlaying;      // tests end a track by setting false
  hgeCallback frameFunc = nullptr;
  hgeCallback renderFunc = nullptr;
  int framesRun = 0;
  bool recordCalls = true;  // switch off for benchmarks
  bool recordQuads = true;

  void ClearRecordings();
  const TextureInfo* FindTexture(HTEXTURE texture) const;

  // --- HGE -------------------------------------------------------------
  bool System_Initiate() override;
  void System_Shutdown() override;
  bool System_Start() override;
  const char* System_GetErrorMessage() override { return errorMessage.c_str(); }
  void System_SetState(BoolState state, bool value) override;
  void System_SetState(FuncState state, hgeCallback value) override;
  void System_SetState(IntState state, int value) override;
  void System_SetState(StringState state, const char* value) override;
  void* Resource_Load(const char* name, uint32_t* size) override;
  void Resource_Free(void* block) override;
  bool Resource_AttachPack(const char* fileName, const char* password) override;
  float Random_Float(float min, float max) override { return random_.Float(min, max); }
  float Timer_GetDelta() override { return frameDelta; }
  HEFFECT Effect_Load(const char* name, uint32_t size) override;
  HCHANNEL Effect_PlayEx(HEFFECT effect, int volume, int pan, float pitch, bool loop) override;
  bool Channel_IsPlaying(HCHANNEL channel) override;
  bool Gfx_BeginScene(HTARGET target) override;
  void Gfx_EndScene() override;
  void Gfx_Clear(uint32_t colour) override;
  void Gfx_RenderQuad(const SpriteQuad* quad) override;
  void Gfx_SetClipping(int x, int y, int width, int height) override;
  void Gfx_SetTransform(float x, float y, float dx, float dy, float rotation, float hscale, float vscale) override;
  bool Gfx_ReadFrame(FramePixels& frame) override;
  HTEXTURE Texture_Load(const char* name, uint32_t size, bool mipmap) override;
  void Texture_Free(HTEXTURE texture) override;
  int Texture_GetWidth(HTEXTURE texture, bool originalSize) override;
  int Texture_GetHeight(HTEXTURE texture, bool originalSize) override;

 protected:
  void WriteLogLine(const char* line) override { logLines.emplace_back(line); }

 private:
  void Note(const char* call);
  EngineRandom random_;
  std::vector<TextureInfo> loadedTextures_;  // handle = index + 1
  std::vector<std::string> loadedEffects_;   // handle = index + 1
  HCHANNEL nextChannel_ = 1;
};

// Installs a recording engine as the one hgeCreate hands out for the
// lifetime of this object.
class ScopedRecordingEngine {
 public:
  ScopedRecordingEngine();
  ~ScopedRecordingEngine();
  RecordingEngine& operator*() { return engine_; }
  RecordingEngine* operator->() { return &engine_; }

 private:
  RecordingEngine engine_;
};
