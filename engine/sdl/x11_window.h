// An X window that the engine draws into without owning it (the window a
// screensaver is handed, or the root window): finding it with a clear error
// when it does not exist, noticing when it changes size, and ending quietly
// when it is destroyed under us. Xlib stays inside x11_window.cpp.
#pragma once

#include <string>

struct _XDisplay;

class ForeignXWindow {
 public:
  ForeignXWindow() = default;
  ~ForeignXWindow();
  ForeignXWindow(const ForeignXWindow&) = delete;
  ForeignXWindow& operator=(const ForeignXWindow&) = delete;

  // Connects to the display named by DISPLAY and finds the window (the
  // display's root window when id is 0). False, with a one-line reason,
  // when there is no display or no such window.
  bool Open(unsigned long id, std::string* error);
  unsigned long Id() const { return id_; }
  // The window to draw into: this one, or on Windows a child window of it
  // made by Open (another Open of the same Id then makes another).
  unsigned long SurfaceId() const { return surface_ != 0 ? surface_ : id_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // True when the window changed size since the last call, which updates
  // Width and Height. Reads only what the server already sent; never waits.
  bool PollResize();
  // True once PollResize has read that the window was destroyed.
  bool Destroyed() const { return destroyed_; }
  // From now on an X error about this window, on any connection (SDL's
  // too), or any X error once a stop was requested, ends the process at
  // once with exit code 0 and no message: the window is gone, and whoever
  // destroyed it wants the program to end. Other errors go to the handler
  // that was installed before. Call after the video subsystem is up, as SDL
  // installs its own handler then.
  void EndQuietlyOnErrors();

  // The SDL video driver that can draw into such a window.
  static const char* const kVideoDriver;

 private:
  _XDisplay* display_ = nullptr;
  unsigned long id_ = 0;
  unsigned long surface_ = 0;  // a child window of the one handed over, where one was made
  int width_ = 0;
  int height_ = 0;
  bool destroyed_ = false;
};
