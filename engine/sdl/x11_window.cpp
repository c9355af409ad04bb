// Finding and watching a foreign X window on a connection of our own, so
// that neither SDL's connection nor its error handling is disturbed.
#include "engine/sdl/x11_window.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

namespace {

// Xlib reports a bad window id through the process-wide error handler, whose
// default ends the program; while a window is looked up, errors are recorded
// here instead.
int lastXError = 0;
int recordXError(Display*, XErrorEvent* event) {
  lastXError = event->error_code;
  return 0;
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

bool ForeignXWindow::PollResize() {
  if (!display_) return false;
  bool changed = false;
  while (XPending(display_) > 0) {
    XEvent event;
    XNextEvent(display_, &event);
    if (event.type == ConfigureNotify && event.xconfigure.window == id_ &&
        (event.xconfigure.width != width_ || event.xconfigure.height != height_)) {
      width_ = event.xconfigure.width;
      height_ = event.xconfigure.height;
      changed = true;
    }
  }
  return changed;
}
