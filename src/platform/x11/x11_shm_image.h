// A 32-bit image in memory shared with the X server: the program draws
// straight into it and the server reads it from there, with no copy.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <memory>

#include "gfx/canvas.h"
#include "platform/x11/x11_display.h"

namespace rc {

class X11ShmImage {
 public:
  // nullptr when the display has no usable MIT-SHM (remote, or refused).
  static std::shared_ptr<X11ShmImage> Create(X11Display& display, Size size);
  ~X11ShmImage();
  X11ShmImage(const X11ShmImage&) = delete;
  X11ShmImage& operator=(const X11ShmImage&) = delete;

  Pixel* Pixels() const { return reinterpret_cast<Pixel*>(info_.shmaddr); }
  Size Dimensions() const { return {image_->width, image_->height}; }
  // Sends `box` to the same place in `target` and returns once the server
  // has read it, so the memory may be drawn in again at once.
  bool Put(Drawable target, GC gc, const Box& box);
  // Sends `box` without waiting: the caller syncs before drawing again.
  bool Send(Drawable target, GC gc, const Box& box);
  // Fills the image from `source` at (0, 0).
  bool Get(Drawable source);

 private:
  explicit X11ShmImage(X11Display& display) : display_(display) {}
  bool Attach(Size size);

  X11Display& display_;
  XImage* image_ = nullptr;
  XShmSegmentInfo info_{};
  bool attached_ = false;
};

}  // namespace rc
