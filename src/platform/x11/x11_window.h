// The overlay's one window: override-redirect, borderless, no background.
#pragma once

#include <X11/Xlib.h>

#include <string>

#include "gfx/geometry.h"
#include "platform/x11/x11_display.h"

namespace rc {

class X11Window {
 public:
  // Created unmapped, so nothing shows until the overlay is ready.
  X11Window(X11Display& display, const Box& bounds);
  ~X11Window();
  X11Window(const X11Window&) = delete;
  X11Window& operator=(const X11Window&) = delete;

  Window Handle() const { return window_; }
  GC Gc() const { return gc_; }
  Box Bounds() const { return bounds_; }
  void SetBounds(const Box& bounds);
  // Adds events to those the window selects (an input method's).
  void SelectMoreEvents(long events);
  // Maps and raises the window and takes the keyboard and the pointer;
  // false with `error` set when no grab could be had within about a second.
  bool ShowAndGrab(Cursor cursor, std::string& error);
  bool PointerGrabbed() const { return pointerGrabbed_; }
  void ReleaseGrabs();

 private:
  void Map();
  int TryGrabs(Cursor cursor);

  X11Display& display_;
  Window window_ = 0;
  GC gc_ = nullptr;
  Box bounds_;
  bool pointerGrabbed_ = false;
  bool keyboardGrabbed_ = false;
};

// The pointer events the overlay asks for, while grabbed as while not.
constexpr long kOverlayPointerEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
// Everything the overlay window selects besides an input method's events.
constexpr long kOverlayWindowEvents = KeyPressMask | KeyReleaseMask | ExposureMask | kOverlayPointerEvents;

}  // namespace rc
