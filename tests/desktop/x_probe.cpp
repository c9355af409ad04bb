// x_probe [WINDOW_ID]: prints how many pixels of an X window (the root
// window by default) are not black, for scripts that check a program drew.
// x_probe --clear: clears the root window to black first.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fprintf(stderr, "x_probe: no display\n");
    return 1;
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
