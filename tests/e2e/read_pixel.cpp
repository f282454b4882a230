// Prints "R G B" for each point X Y given, as the screen shows it now.
//
//   read_pixel X Y [X Y ...]
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr || argc < 3 || argc % 2 == 0) {
    std::fprintf(stderr, "usage: read_pixel X Y [X Y ...] (with DISPLAY set)\n");
    return 1;
  }
  const Window root = DefaultRootWindow(dpy);
  for (int i = 1; i + 1 < argc; i += 2) {
    XImage* image = XGetImage(dpy, root, std::atoi(argv[i]), std::atoi(argv[i + 1]), 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 1;
    const unsigned long p = XGetPixel(image, 0, 0);
    std::printf("%lu %lu %lu\n", (p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    XDestroyImage(image);
  }
  XCloseDisplay(dpy);
  return 0;
}
