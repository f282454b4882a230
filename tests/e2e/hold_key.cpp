// Holds a passive grab of Ctrl+Alt+A on the root window of $DISPLAY until
// killed, as another program's shortcut would; prints "grabbed" once it has it.
#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <cstdio>
#include <unistd.h>

int main() {
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr) return 1;
  XGrabKey(dpy, XKeysymToKeycode(dpy, XK_a), ControlMask | Mod1Mask, DefaultRootWindow(dpy), False, GrabModeAsync,
           GrabModeAsync);
  XSync(dpy, False);
  std::printf("grabbed\n");
  std::fflush(stdout);
  for (;;) pause();
}
