// Lays a white window over part of the screen for a while, then takes it
// away again, as a notification popping up over the overlay would.
//
//   cover_window X Y W H MILLISECONDS
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr || argc != 6) {
    std::fprintf(stderr, "usage: cover_window X Y W H MILLISECONDS (with DISPLAY set)\n");
    return 1;
  }
  XSetWindowAttributes attrs{};
  attrs.override_redirect = True;
  attrs.background_pixel = WhitePixel(dpy, DefaultScreen(dpy));
  const Window w = XCreateWindow(dpy, DefaultRootWindow(dpy), std::atoi(argv[1]), std::atoi(argv[2]),
                                 std::atoi(argv[3]), std::atoi(argv[4]), 0, CopyFromParent, InputOutput,
                                 CopyFromParent, CWOverrideRedirect | CWBackPixel, &attrs);
  XMapRaised(dpy, w);
  XSync(dpy, False);
  std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[5])));
  XUnmapWindow(dpy, w);
  XDestroyWindow(dpy, w);
  XCloseDisplay(dpy);
  return 0;
}
