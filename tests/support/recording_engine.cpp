// RecordingEngine: records the calls, states, quads and loads it is asked
// for and plays back the scripted time and input.
#include "tests/support/recording_engine.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "engine/engine_factory.h"

namespace {
std::string normaliseName(const char* name) {
  std::string text = name ? name : "";
  std::replace(text.begin(), text.end(), '\\', '/');
  return text;
}
}  // namespace

void RecordingEngine::Note(const char* call) {
  if (recordCalls) calls.emplace_back(call);
}

void RecordingEngine::ClearRecordings() {
  calls.clear();
  states.clear();
  quads.clear();
  transforms.clear();
  clips.clear();
  clears.clear();
  logLines.clear();
  attachedPacks.clear();
  freedTextures.clear();
  played.clear();
}

const RecordingEngine::TextureInfo* RecordingEngine::FindTexture(HTEXTURE texture) const {
  if (texture == 0 || texture > loadedTextures_.size()) return nullptr;
  return &loadedTextures_[texture - 1];
}

bool RecordingEngine::System_Initiate() {
  Note("System_Initiate");
  return initiateResult;
}

void RecordingEngine::System_Shutdown() { Note("System_Shutdown"); }

bool RecordingEngine::System_Start() {
  Note("System_Start");
  for (int frame = 0; frame < maxFrames; ++frame) {
    if (beforeFrame) beforeFrame(frame);
    ++framesRun;
    bool stop = frameFunc ? frameFunc() : true;
    if (renderFunc) renderFunc();
    input_.EndFrame();
    if (stop) break;
  }
  return true;
}

void RecordingEngine::System_SetState(BoolState state, bool value) {
  states.push_back({'b', static_cast<int>(state), value ? 1 : 0, {}});
}

void RecordingEngine::System_SetState(FuncState state, hgeCallback value) {
  states.push_back({'f', static_cast<int>(state), value ? 1 : 0, {}});
  if (state == FuncState::FrameFunc) frameFunc = value;
  if (state == FuncState::RenderFunc) renderFunc = value;
}

void RecordingEngine::System_SetState(IntState state, int value) {
  states.push_back({'i', static_cast<int>(state), value, {}});
}

void RecordingEngine::System_SetState(StringState state, const char* value) {
  states.push_back({'s', static_cast<int>(state), 0, value ? value : ""});
}

void* RecordingEngine::Resource_Load(const char* name, uint32_t* size) {
  auto it = resources.find(normaliseName(name));
  if (it == resources.end()) {
    if (size) *size = 0;
    return nullptr;
  }
  void* block = std::malloc(it->second.size() + 1);
  std::memcpy(block, it->second.data(), it->second.size());
  if (size) *size = static_cast<uint32_t>(it->second.size());
  return block;
}

void RecordingEngine::Resource_Free(void* block) { std::free(block); }

bool RecordingEngine::Resource_AttachPack(const char* fileName, const char*) {
  attachedPacks.emplace_back(fileName ? fileName : "");
  return true;
}

HEFFECT RecordingEngine::Effect_Load(const char* name, uint32_t) {
  Note("Effect_Load");
  std::string key = normaliseName(name);
  if (!resources.count(key)) return 0;
  loadedEffects_.push_back(key);
  return static_cast<HEFFECT>(loadedEffects_.size());
}

HCHANNEL RecordingEngine::Effect_PlayEx(HEFFECT effect, int volume, int, float, bool) {
  if (effect == 0 || effect > loadedEffects_.size()) return 0;
  played.emplace_back(effect, volume);
  HCHANNEL channel = nextChannel_++;
  channelPlaying[channel] = true;
  return channel;
}

bool RecordingEngine::Channel_IsPlaying(HCHANNEL channel) {
  auto it = channelPlaying.find(channel);
  return it != channelPlaying.end() && it->second;
}

bool RecordingEngine::Gfx_BeginScene(HTARGET) {
  Note("Gfx_BeginScene");
  return true;
}

void RecordingEngine::Gfx_EndScene() { Note("Gfx_EndScene"); }

void RecordingEngine::Gfx_Clear(uint32_t colour) {
  Note("Gfx_Clear");
  clears.push_back(colour);
}

void RecordingEngine::Gfx_RenderQuad(const SpriteQuad* quad) {
  if (recordQuads && quad) quads.push_back(*quad);
}

void RecordingEngine::Gfx_SetClipping(int x, int y, int width, int height) {
  Note("Gfx_SetClipping");
  clips.push_back({x, y, width, height});
}

void RecordingEngine::Gfx_SetTransform(float x, float y, float dx, float dy, float rotation, float hscale,
                                       float vscale) {
  Note("Gfx_SetTransform");
  transforms.push_back({x, y, dx, dy, rotation, hscale, vscale});
}

bool RecordingEngine::Gfx_ReadFrame(FramePixels& frame) {
  Note("Gfx_ReadFrame");
  frame = frameToRead;
  return !frame.argb.empty();
}

HTEXTURE RecordingEngine::Texture_Load(const char* name, uint32_t, bool) {
  Note("Texture_Load");
  auto it = textureFiles.find(normaliseName(name));
  if (it == textureFiles.end()) return 0;
  loadedTextures_.push_back(it->second);
  return static_cast<HTEXTURE>(loadedTextures_.size());
}

void RecordingEngine::Texture_Free(HTEXTURE texture) { freedTextures.push_back(texture); }

int RecordingEngine::Texture_GetWidth(HTEXTURE texture, bool originalSize) {
  const TextureInfo* info = FindTexture(texture);
  if (!info) return 0;
  return originalSize ? info->width : info->surfaceWidth;
}

int RecordingEngine::Texture_GetHeight(HTEXTURE texture, bool originalSize) {
  const TextureInfo* info = FindTexture(texture);
  if (!info) return 0;
  return originalSize ? info->height : info->surfaceHeight;
}

ScopedRecordingEngine::ScopedRecordingEngine() { hgeUseEngine(&engine_); }
ScopedRecordingEngine::~ScopedRecordingEngine() { hgeUseEngine(nullptr); }
