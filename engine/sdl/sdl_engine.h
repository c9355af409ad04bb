// The windowed or full-screen engine on SDL2: window, paced frame loop,
// keyboard and mouse, on top of the shared SDL drawing and sound.
#pragma once

#include <functional>
#include <memory>

#include "engine/hge.h"

// Where and how the engine draws. The defaults are the viewer's: a window of
// its own, sized by the engine states, with input.
struct SdlEngineOptions {
  // An X window to draw into instead of a window of the engine's own (the
  // window a screensaver is handed, or the root window); 0 for none. Its
  // size replaces the screen size states.
  unsigned long foreignWindow = 0;
  // The engine's own window may be resized by the user.
  bool resizable = false;
  // Keys, buttons and the wheel never report, and the pointer stays at 0, 0.
  bool ignoreInput = false;
  // The frame loop ends on a key press, a click or a pointer movement of
  // more than a few pixels (a screensaver's full-screen show).
  bool endOnInput = false;
  // Called between frames, with the new size in pixels, after the drawing
  // area changed size; drawing then covers the new size.
  std::function<void(int width, int height)> onResize;
};

// A new, not yet initiated engine. Its frame loop also ends once SIGTERM or
// SIGINT has arrived, when InstallStopSignals was called.
std::unique_ptr<HGE> CreateSdlEngine();
// The same, drawing and listening as the options say.
std::unique_ptr<HGE> CreateSdlEngineWithOptions(const SdlEngineOptions& options);
