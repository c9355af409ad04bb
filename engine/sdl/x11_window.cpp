// Finding and watching a foreign X window on a connection of our own, so
// that neither SDL's connection nor its error handling is disturbed.
#include "engine/sdl/x11_window.h"

#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "engine/sdl/stop_signals.h"

namespace {

// Xlib reports a bad window id through the process-wide error handler, whose
// default ends the program; while a window is looked up, errors are recorded
// here instead.
int lastXError = 0;
int recordXError(Display*, XErrorEvent* event) {
  lastXError = event->error_code;
  return 0;
}

// Xlib's error handler is one for the whole process, so the window it
// watches and the handler it replaced are too.
unsigned long watchedWindow = 0;
XErrorHandler handlerBefore = nullptr;
int endOnWatchedWindowError(Display* display, XErrorEvent* event) {
  if (event->resourceid == watchedWindow || StopRequested()) _exit(0);
  return handlerBefore ? handlerBefore(display, event) : 0;
}

std::string hexId(unsigned long id) {
  char text[32];
  std::snprintf(text, sizeof text, "0x%lx", id);
  return text;
}

}  // namespace

const char* const ForeignXWindow::kVideoDriver = "x11";

ForeignXWindow::~ForeignXWindow() {
  if (display_) XCloseDisplay(display_);
}

bool ForeignXWindow::Open(unsigned long id, std::string* error) {
  if (display_) XCloseDisplay(display_);
  display_ = XOpenDisplay(nullptr);
  if (!display_) {
    const char* name = std::getenv("DISPLAY");
    if (error) *error = std::string("cannot open the X display '") + (name ? name : "") + "'";
    return false;
  }
  id_ = id != 0 ? id : DefaultRootWindow(display_);
  destroyed_ = false;

  XSync(display_, False);
  lastXError = 0;
  XErrorHandler previous = XSetErrorHandler(recordXError);
  XWindowAttributes attributes{};
  const Status found = XGetWindowAttributes(display_, id_, &attributes);
  // Size changes arrive as ConfigureNotify events on this connection.
  if (found) XSelectInput(display_, id_, StructureNotifyMask);
  XSync(display_, False);
  XSetErrorHandler(previous);

  if (!found || lastXError != 0) {
    if (error) *error = "there is no X window " + hexId(id_) + " on display '" + DisplayString(display_) + "'";
    XCloseDisplay(display_);
    display_ = nullptr;
    return false;
  }
  width_ = attributes.width;
  height_ = attributes.height;
  return true;
}

void ForeignXWindow::EndQuietlyOnErrors() {
  if (!display_) return;
  watchedWindow = id_;
  const XErrorHandler previous = XSetErrorHandler(endOnWatchedWindowError);
  if (previous != endOnWatchedWindowError) handlerBefore = previous;
}

bool ForeignXWindow::PollResize() {
  if (!display_) return false;
  bool changed = false;
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == DestroyNotify && event.xdestroywindow.window == id_) destroyed_ = true;
    if (event.type == ConfigureNotify && event.xconfigure.window == id_ &&
        (event.xconfigure.width != width_ || event.xconfigure.height != height_)) {
      width_ = event.xconfigure.width;
      height_ = event.xconfigure.height;
      changed = true;
    }
  }
  return changed;
}
