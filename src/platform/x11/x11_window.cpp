#include "platform/x11/x11_window.h"

#include <chrono>
#include <thread>

namespace rc {

namespace {

constexpr int kGrabAttempts = 50;
constexpr auto kGrabPause = std::chrono::milliseconds(20);

const char* GrabFailureText(int status) {
  switch (status) {
    case AlreadyGrabbed: return "another program holds it";
    case GrabFrozen: return "it is frozen by another grab";
    case GrabNotViewable: return "the window is not viewable";
    default: return "the server refused";
  }
}

}  // namespace

X11Window::X11Window(X11Display& display, const Box& bounds) : display_(display), bounds_(bounds) {
  XSetWindowAttributes attrs{};
  attrs.override_redirect = True;
  // No background: mapping leaves the desktop on screen until the first
  // frame arrives, instead of flashing a colour.
  attrs.background_pixmap = None;
  attrs.border_pixel = 0;
  attrs.event_mask = kOverlayWindowEvents;
  const unsigned long mask = CWOverrideRedirect | CWBackPixmap | CWBorderPixel | CWEventMask;
  window_ = XCreateWindow(display_.Dpy(), display_.Root(), bounds.x, bounds.y, bounds.width, bounds.height, 0,
                          CopyFromParent, InputOutput, CopyFromParent, mask, &attrs);
  XStoreName(display_.Dpy(), window_, "regioncap");
  gc_ = XCreateGC(display_.Dpy(), window_, 0, nullptr);
}

X11Window::~X11Window() {
  if (!display_.IsOpen()) return;
  ReleaseGrabs();
  XFreeGC(display_.Dpy(), gc_);
  XDestroyWindow(display_.Dpy(), window_);
}

void X11Window::SelectMoreEvents(long events) {
  if (events != 0) XSelectInput(display_.Dpy(), window_, kOverlayWindowEvents | events);
}

void X11Window::SetBounds(const Box& bounds) {
  if (bounds.width <= 0 || bounds.height <= 0) return;  // X has no empty windows
  bounds_ = bounds;
  XMoveResizeWindow(display_.Dpy(), window_, bounds.x, bounds.y, bounds.width, bounds.height);
}

// An override-redirect window is viewable as soon as the server has handled
// the map request. Requests are handled in order, so the focus and the grabs
// asked for next find it viewable, and their answers are the round trip.
void X11Window::Map() { XMapRaised(display_.Dpy(), window_); }

int X11Window::TryGrabs(Cursor cursor) {
  Display* dpy = display_.Dpy();
  if (!keyboardGrabbed_) {
    const int status = XGrabKeyboard(dpy, window_, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (status != GrabSuccess) return status;
    keyboardGrabbed_ = true;
  }
  if (!pointerGrabbed_) {
    const int status = XGrabPointer(dpy, window_, False, kOverlayPointerEvents, GrabModeAsync, GrabModeAsync,
                                    None, cursor, CurrentTime);
    if (status != GrabSuccess) return status;
    pointerGrabbed_ = true;
  }
  return GrabSuccess;
}

bool X11Window::ShowAndGrab(Cursor cursor, std::string& error) {
  Map();
  XSetInputFocus(display_.Dpy(), window_, RevertToParent, CurrentTime);
  // NOTE: another client (a menu, a key-binding daemon) may hold a grab
  // for a moment; keep asking for about a second before giving up.
  int status = GrabSuccess;
  for (int attempt = 0; attempt < kGrabAttempts; ++attempt) {
    status = TryGrabs(cursor);
    if (status == GrabSuccess) return true;
    std::this_thread::sleep_for(kGrabPause);
  }
  error = std::string("X11: cannot grab the ") + (keyboardGrabbed_ ? "pointer" : "keyboard") + ": " +
          GrabFailureText(status);
  return false;
}

void X11Window::ReleaseGrabs() {
  if (pointerGrabbed_) XUngrabPointer(display_.Dpy(), CurrentTime);
  if (keyboardGrabbed_) XUngrabKeyboard(display_.Dpy(), CurrentTime);
  pointerGrabbed_ = keyboardGrabbed_ = false;
}

}  // namespace rc
