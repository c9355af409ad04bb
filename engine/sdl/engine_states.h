// The engine states that System_SetState sets, with the values an engine
// starts with. Plain data, no SDL.
#pragma once

#include <string>

#include "engine/hge.h"

struct EngineStates {
  hgeCallback frameFunc = nullptr;
  hgeCallback renderFunc = nullptr;
  std::string title = "HGE";
  int screenWidth = 800;
  int screenHeight = 600;
  int bitsPerPixel = 32;
  int framesPerSecond = 0;  // 0: as fast as the loop can run
  bool windowed = false;
  bool zBuffer = false;  // accepted, no depth buffer is used
  bool textureFilter = true;
  bool useSound = true;
  bool dontSuspend = false;
  bool hideMouse = true;
};
