// Holds the keyboard (and the pointer) grab of $DISPLAY until killed, as a
// busy menu or screen locker would; prints "grabbed" once it has them.
#include <X11/Xlib.h>

#include <cstdio>
#include <unistd.h>

int main() {
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr) return 1;
  const Window root = DefaultRootWindow(dpy);
  XSetWindowAttributes attrs{};
  attrs.override_redirect = True;
  const Window w = XCreateWindow(dpy, root, 0, 0, 10, 10, 0, CopyFromParent, InputOutput, CopyFromParent,
                                 CWOverrideRedirect, &attrs);
  XMapRaised(dpy, w);
  XSync(dpy, False);
  if (XGrabKeyboard(dpy, w, False, GrabModeAsync, GrabModeAsync, CurrentTime) != GrabSuccess) return 1;
  if (XGrabPointer(dpy, w, False, 0, GrabModeAsync, GrabModeAsync, None, None, CurrentTime) != GrabSuccess) return 1;
  XSync(dpy, False);
  std::printf("grabbed\n");
  std::fflush(stdout);
  for (;;) pause();
}
