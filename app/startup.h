// The program's entry: engine set-up, resource loading, the frame loop and shutdown.
#pragma once

#include "engine/platform.h"

// How the program takes the screen. The viewer asks "Run full screen?" and
// plays its music; the screensaver fills the area it is given (the
// platform's desktop) without asking, and plays music only when asked to.
struct StartupOptions {
  bool askFullScreen = true;
  // kIdYes or kIdNo answers the question in advance; 0 asks it.
  int fullScreenAnswer = 0;
  bool sound = true;
  // Without asking: full screen on the platform's desktop, pointer hidden
  // (a screensaver of its own).
  bool takeWholeScreen = false;
};

class ScreenKeeper;

// Runs the whole program with the given platform and whatever engine
// hgeCreate hands out. Every failure is shown as a message. Returns the exit
// code: 0 after the frame loop ran, 1 when start-up failed.
// keeper, when given, names, keeps and feeds the screens (the viewer's);
// it is started before the first frame.
int driftglowMain(Platform& platform, const StartupOptions& options = StartupOptions{}, ScreenKeeper* keeper = nullptr);
