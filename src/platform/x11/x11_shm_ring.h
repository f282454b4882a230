// A small piece of memory shared with the X server that every picture
// travels through, both ways: the snapshot comes in band by band and the
// frames go out box by box. Fresh memory is slow to touch the first time
// (each page is backed on its first write, by us and again by the server),
// so one small region both sides touched long ago beats a screen-sized
// shared image touched anew by each capture.
//
// Puts do not wait for the server: the ring is written front to back and
// only when its end is reached does one round trip make sure the server
// has read everything before the front is written again.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/XShm.h>

#include <cstddef>
#include <functional>
#include <memory>

#include "gfx/canvas.h"
#include "platform/x11/x11_display.h"
#include "win/present_target.h"

namespace rc {

class X11ShmRing {
 public:
  static constexpr size_t kDefaultBytes = size_t{2} << 20;

  // nullptr when the display has no usable MIT-SHM (remote, or refused),
  // or its visual does not store pixels as a canvas does.
  static std::unique_ptr<X11ShmRing> Create(X11Display& display, size_t bytes = kDefaultBytes);
  ~X11ShmRing();
  X11ShmRing(const X11ShmRing&) = delete;
  X11ShmRing& operator=(const X11ShmRing&) = delete;

  // Sends `part` of `source` to `at` in `target`. Returns once it is queued;
  // `source` may be drawn in again at once.
  bool Put(Drawable target, GC gc, const Canvas& source, const Box& part, Point at);
  // Shows `area` of `target` band by band, each painted by `paint` straight
  // into the ring.
  bool PutPainted(Drawable target, GC gc, const Box& area, const PresentTarget::PaintRows& paint);

  // Rows of `count` pixels of B, G, R, x read from the server, handed over
  // with the row of `box` they belong to.
  using RowSink = std::function<void(int32_t y, const Pixel* row, int32_t count)>;
  // Reads `box` of `source` band by band; false when the server refuses.
  bool Get(Drawable source, const Box& box, const RowSink& sink);

  // Has the server write the whole ring once and reads it back, so that
  // neither side backs a page of it during a capture.
  bool Warm(Drawable source);

 private:
  explicit X11ShmRing(X11Display& display) : display_(display) {}
  bool Attach(size_t bytes);
  // Rows of `width` pixels that fit in one band, at least one. Bands going
  // out take a quarter of the ring, so that we fill one while the server
  // reads the ones before; bands coming in take all of it.
  int32_t BandRows(int32_t width, size_t share) const;
  // The memory for `rows` rows of `width` pixels, after the last use; one
  // round trip first when the rest of the ring is too short. nullptr when
  // the whole ring is.
  Pixel* Reserve(int32_t width, int32_t rows);
  // Describes `rows` rows of `width` pixels at `data` as the ring's image.
  XImage* Describe(Pixel* data, int32_t width, int32_t rows);

  X11Display& display_;
  XImage* image_ = nullptr;
  XShmSegmentInfo info_{};
  bool attached_ = false;
  size_t bytes_ = 0;
  size_t used_ = 0;  // bytes written since the server was last known to be done
};

}  // namespace rc
