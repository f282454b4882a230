#include "x_driver.h"

#include <X11/XKBlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <cstdio>

namespace rc::probe {

XDriver::~XDriver() {
  if (dpy_ != nullptr) XCloseDisplay(dpy_);
}

bool XDriver::Open() {
  dpy_ = XOpenDisplay(nullptr);
  if (dpy_ == nullptr) {
    std::fprintf(stderr, "probe: cannot open the X display\n");
    return false;
  }
  int event = 0, error = 0, major = 0, minor = 0;
  if (!XTestQueryExtension(dpy_, &event, &error, &major, &minor)) {
    std::fprintf(stderr, "probe: the X server has no XTest extension\n");
    return false;
  }
  root_ = DefaultRootWindow(dpy_);
  width_ = DisplayWidth(dpy_, DefaultScreen(dpy_));
  height_ = DisplayHeight(dpy_, DefaultScreen(dpy_));
  return true;
}

void XDriver::PaintRoot(unsigned long rgb) {
  XSetWindowBackground(dpy_, root_, rgb);
  XClearWindow(dpy_, root_);
  XSync(dpy_, False);
}

uint32_t XDriver::RootPixel(Pt at) {
  XImage* image = XGetImage(dpy_, root_, at.x, at.y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return 0;
  const auto pixel = static_cast<uint32_t>(XGetPixel(image, 0, 0) & 0xFFFFFF);
  XDestroyImage(image);
  return pixel;
}

void XDriver::MoveTo(Pt p) {
  XTestFakeMotionEvent(dpy_, -1, p.x, p.y, CurrentTime);
  XFlush(dpy_);
}

void XDriver::Button(bool down) {
  XTestFakeButtonEvent(dpy_, 1, down ? True : False, CurrentTime);
  XFlush(dpy_);
}

void XDriver::TapEscape() {
  const KeyCode code = XKeysymToKeycode(dpy_, XK_Escape);
  XTestFakeKeyEvent(dpy_, code, True, CurrentTime);
  XTestFakeKeyEvent(dpy_, code, False, CurrentTime);
  XSync(dpy_, False);
}

}  // namespace rc::probe
