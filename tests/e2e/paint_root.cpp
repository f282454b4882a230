// Paints a known picture as the root window's background, or prints its
// colour at given points so a test can say what the screen should hold.
//
//   paint_root                 paint the screen of $DISPLAY
//   paint_root --at W H X Y    print "R G B" of the picture at (X, Y) on a W x H screen
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

// Eight vertical colour bands; within a band the lit channels fall from 255
// at the top to 55 at the bottom and the dark ones climb with x.
unsigned long PatternAt(int x, int y, int width, int height) {
  static const unsigned kBands[8] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00, 0x00FFFF, 0xFF00FF, 0xFFFFFF, 0x000000};
  const unsigned band = kBands[x * 8 / width];
  const unsigned lit = 255 - 200 * y / (height - 1);
  const unsigned dark = (x * 8 % width) * 120 / width;
  unsigned long rgb = 0;
  for (int shift = 16; shift >= 0; shift -= 8) rgb |= static_cast<unsigned long>((band >> shift) & 0xFF ? lit : dark) << shift;
  return rgb;
}

int Paint() {
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr) {
    std::fprintf(stderr, "paint_root: cannot open display\n");
    return 1;
  }
  const int screen = DefaultScreen(dpy);
  const int w = DisplayWidth(dpy, screen), h = DisplayHeight(dpy, screen);
  const Window root = RootWindow(dpy, screen);
  const Pixmap pixmap = XCreatePixmap(dpy, root, w, h, DefaultDepth(dpy, screen));
  XImage* image = XCreateImage(dpy, DefaultVisual(dpy, screen), DefaultDepth(dpy, screen), ZPixmap, 0, nullptr, w, h, 32, 0);
  image->data = static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) XPutPixel(image, x, y, PatternAt(x, y, w, h));
  const GC gc = XCreateGC(dpy, pixmap, 0, nullptr);
  XPutImage(dpy, pixmap, gc, image, 0, 0, 0, 0, w, h);
  XSetWindowBackgroundPixmap(dpy, root, pixmap);
  XClearWindow(dpy, root);
  // The root keeps its own reference to the background.
  XFreePixmap(dpy, pixmap);
  XFreeGC(dpy, gc);
  XDestroyImage(image);
  XSync(dpy, False);
  XCloseDisplay(dpy);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 6 && std::strcmp(argv[1], "--at") == 0) {
    const unsigned long rgb = PatternAt(std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[2]), std::atoi(argv[3]));
    std::printf("%lu %lu %lu\n", rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF);
    return 0;
  }
  return Paint();
}
