// System_SetState of the SDL engines: the states are recorded here and read
// where they take effect (window, frame loop, sound, texture filtering).
#include "engine/sdl/sdl_engine_core.h"

void SdlEngineCore::System_SetState(BoolState state, bool value) {
  switch (state) {
    case BoolState::Windowed: states_.windowed = value; break;
    case BoolState::ZBuffer: states_.zBuffer = value; break;
    case BoolState::TextureFilter: states_.textureFilter = value; break;
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
