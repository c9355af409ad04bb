// x_probe [WINDOW_ID]: prints how many pixels of an X window (the root
// window by default) are not black, for scripts that check a program drew.
// x_probe --clear: clears the root window to black first.
// x_probe --window: makes a 320 x 240 window, prints its id and keeps it
// until the probe is ended, which destroys the window, as XScreenSaver
// destroys the window its programs draw into.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <unistd.h>

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "x_probe: no display\n");
    return 1;
  }
  if (argc > 1 && std::strcmp(argv[1], "--window") == 0) {
    const Window made = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 320, 240, 0, 0, 0);
    XMapWindow(display, made);
    XSync(display, False);
    std::printf("0x%lx\n", made);
    std::fflush(stdout);
    for (;;) pause();
  }
  const bool clear = argc > 1 && std::strcmp(argv[1], "--clear") == 0;
  const Window window = argc > 1 && !clear ? std::strtoul(argv[1], nullptr, 0) : DefaultRootWindow(display);
  if (clear) {
    XSetWindowBackground(display, window, BlackPixel(display, DefaultScreen(display)));
    XClearWindow(display, window);
    XSync(display, False);
  }
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(display, window, &attributes)) return 1;
  XImage* image = XGetImage(display, window, 0, 0, attributes.width, attributes.height, AllPlanes, ZPixmap);
  if (!image) return 1;
  long lit = 0;
  for (int y = 0; y < attributes.height; ++y)
    for (int x = 0; x < attributes.width; ++x)
      if ((XGetPixel(image, x, y) & 0xFFFFFF) != 0) ++lit;
  std::printf("%ld\n", lit);
  XDestroyImage(image);
  XCloseDisplay(display);
  return 0;
}
