// Shows one plain top-level window at a given place and size until it is
// killed, for the window snapping tests.
//
//   make_window X Y W H    prints the window's id once it is on the screen
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: make_window X Y W H\n");
    return 2;
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr) return 1;
  const int x = std::atoi(argv[1]), y = std::atoi(argv[2]);
  const unsigned w = std::atoi(argv[3]), h = std::atoi(argv[4]);
  const Window win = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), x, y, w, h, 0, 0, 0x336699);
  // A window manager places a window where it asked only when the user did.
  XSizeHints hints{};
  hints.flags = USPosition | USSize;
  hints.x = x, hints.y = y, hints.width = static_cast<int>(w), hints.height = static_cast<int>(h);
  XSetWMNormalHints(dpy, win, &hints);
  XSelectInput(dpy, win, StructureNotifyMask);
  XMapWindow(dpy, win);
  XEvent event;
  do {
    XNextEvent(dpy, &event);
  } while (event.type != MapNotify);
  XSync(dpy, False);
  std::printf("%lu\n", win);
  std::fflush(stdout);
  for (;;) {
    while (XPending(dpy) > 0) XNextEvent(dpy, &event);
    usleep(50000);
  }
}
