// The windowed or full-screen engine on SDL2: window, paced frame loop,
// keyboard and mouse, on top of the shared SDL drawing and sound.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

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
  // The shortest time a frame takes, in microseconds; a longer one than the
  // frame rate state's period slows the frame loop down. 0: the frame rate state alone.
  long shortestFrameMicroseconds = 0;
  // The measured frame rate is shown in the lower left corner.
  bool showFrameRate = false;
  // The frame rate achieved is written to the log when the frame loop ends.
  bool logFrameRate = true;
  // Image files tried in order for the icon of the engine's own window; the
  // first that loads is used, and none is no error.
  std::vector<std::string> iconFiles;
  // Called between frames, with the new size in pixels, after the drawing
  // area changed size; drawing then covers the new size.
  std::function<void(int width, int height)> onResize;
};

// A new, not yet initiated engine. Its frame loop also ends once SIGTERM or
// SIGINT has arrived, when InstallStopSignals was called; from then on
// nothing more is drawn. Drawing into a foreign window, an X error about that
// window (it was destroyed) ends the process at once with exit code 0.
std::unique_ptr<HGE> CreateSdlEngine();
// The same, drawing and listening as the options say.
std::unique_ptr<HGE> CreateSdlEngineWithOptions(const SdlEngineOptions& options);
