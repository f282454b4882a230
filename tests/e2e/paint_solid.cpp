// Paints the root window of $DISPLAY one colour: paint_solid R G B. The
// colour stays after this program ends (Xvfb runs with -noreset).
#include <X11/Xlib.h>

#include <cstdlib>

int main(int argc, char** argv) {
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr || argc != 4) return 1;
  const unsigned long rgb = std::strtoul(argv[1], nullptr, 10) << 16 | std::strtoul(argv[2], nullptr, 10) << 8 |
                            std::strtoul(argv[3], nullptr, 10);
  const Window root = DefaultRootWindow(dpy);
  XSetWindowBackground(dpy, root, rgb);
  XClearWindow(dpy, root);
  XCloseDisplay(dpy);
  return 0;
}
