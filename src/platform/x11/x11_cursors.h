// Pointer shapes: the user's cursor theme for the standard ones, full-colour
// Xcursor images for cursor files. Each shape is made once per run.
#pragma once

#include <X11/Xlib.h>

#include <cstdint>
#include <map>

#include "app/host.h"

namespace rc {

class X11Cursors {
 public:
  explicit X11Cursors(Display* dpy) : dpy_(dpy) {}
  ~X11Cursors();
  X11Cursors(const X11Cursors&) = delete;
  X11Cursors& operator=(const X11Cursors&) = delete;

  // The cursor for `pointer`; a file that cannot be read gives the arrow.
  Cursor For(const MousePointer& pointer);
  // Forgets the cursors without freeing them, once the display is closed.
  void Abandon() { dpy_ = nullptr; }

 private:
  Cursor Standard(StandardCursor shape);
  Cursor FromFile(std::span<const uint8_t> bytes);

  Display* dpy_;
  std::map<StandardCursor, Cursor> standard_;
  // Keyed by the bytes' address: cursor files are constant data of the program.
  std::map<const uint8_t*, Cursor> files_;
};

}  // namespace rc
