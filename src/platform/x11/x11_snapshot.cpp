#include "platform/x11/x11_snapshot.h"

#include <algorithm>

#include "platform/posix/memory_backer.h"
#include "platform/posix/posix_memory.h"
#include "platform/x11/x11_pixels.h"
#include "platform/x11/x11_shm_ring.h"

namespace rc {

namespace {

// One row of B, G, R, x pixels; the x byte is not defined, the result is opaque.
void CopyRowOpaque(Pixel* to, const Pixel* from, int32_t count) {
  for (int32_t x = 0; x < count; ++x) to[x] = from[x] | 0xFF000000u;
}

void CopyOpaque(const uint8_t* data, int32_t stride, Canvas& out, int32_t firstRow, int32_t endRow) {
  for (int32_t y = firstRow; y < endRow; ++y)
    CopyRowOpaque(out.Row(y), reinterpret_cast<const Pixel*>(data + static_cast<size_t>(stride) * y), out.Width());
}

// The bands come in behind the backing of the snapshot's memory, which
// runs on a thread of ours where a core is free; a band that overtakes it
// backs its own rows in large calls rather than page by page.
bool GetInto(X11ShmRing& ring, Window root, Canvas& out, MemoryBacker& backing) {
  const size_t rowBytes = static_cast<size_t>(out.Width()) * sizeof(Pixel);
  const bool got = ring.Get(root, out.Bounds(), [&](int32_t y, const Pixel* row, int32_t count) {
    backing.Ensure(static_cast<size_t>(y) * rowBytes, rowBytes);
    CopyRowOpaque(out.Row(y), row, count);
  });
  backing.Finish();
  return got;
}

// `ready` (backed, or being backed by `backing`) is used when it fits.
Canvas ViaShm(X11Display& display, X11ShmRing* ring, Size size, Canvas ready, MemoryBacker& backing) {
  const bool fits = ready.Width() == size.width && ready.Height() == size.height;
  if (ring == nullptr || !fits) backing.Stop();
  if (ring == nullptr) return Canvas();
  if (fits) return GetInto(*ring, display.Root(), ready, backing) ? std::move(ready) : Canvas();
  Canvas out(size.width, size.height);
  if (out.Empty()) return out;
  MemoryBacker fresh;
  fresh.Start(out.Data(), out.Pixels().size_bytes());
  return GetInto(*ring, display.Root(), out, fresh) ? std::move(out) : Canvas();
}

void ConvertGeneric(XImage* image, const X11PixelFormat& format, Canvas& out) {
  for (int32_t y = 0; y < out.Height(); ++y)
    for (int32_t x = 0; x < out.Width(); ++x) out.Row(y)[x] = PixelFromVisual(XGetPixel(image, x, y), format);
}

Canvas ViaGetImage(X11Display& display, Size size, std::string& error) {
  Canvas out;
  XImage* image = XGetImage(display.Dpy(), display.Root(), 0, 0, size.width, size.height, AllPlanes, ZPixmap);
  if (image == nullptr) {
    error = "X11: the server did not give the screen's pixels";
    return out;
  }
  if (!out.Create(size.width, size.height)) {
    error = "X11: no memory for a picture of the " + std::to_string(size.width) + " × " +
            std::to_string(size.height) + " screen";
    XDestroyImage(image);
    return out;
  }
  if (display.Format().matchesCanvas && image->bits_per_pixel == 32)
    CopyOpaque(reinterpret_cast<const uint8_t*>(image->data), image->bytes_per_line, out, 0, out.Height());
  else
    ConvertGeneric(image, display.Format(), out);
  XDestroyImage(image);
  return out;
}

const char* VisualClassName(int visualClass) {
  switch (visualClass) {
    case StaticGray: return "StaticGray";
    case GrayScale: return "GrayScale";
    case StaticColor: return "StaticColor";
    case PseudoColor: return "PseudoColor";
    default: return "colour-mapped";
  }
}

}  // namespace

// The ring is warmed on both sides; the snapshot and the back buffer are
// backed now (zeroed memory, so the back buffer stays transparent).
X11SnapshotBuffers PrepareX11SnapshotBuffers(X11Display& display, X11ShmRing* ring, Canvas snapshot) {
  const Size size = display.ScreenSize();
  const size_t bytes = static_cast<size_t>(size.width) * size.height * sizeof(Pixel);
  X11SnapshotBuffers ready;
  if (ring != nullptr) ring->Warm(display.Root());
  if (snapshot.Width() == size.width && snapshot.Height() == size.height) ready.snapshot = std::move(snapshot);
  for (Canvas* canvas : {&ready.snapshot, &ready.surface}) {
    if (canvas->Empty() && !canvas->Create(size.width, size.height)) return {};
    PrefaultForWriting(canvas->Data(), bytes);
  }
  return ready;
}

Canvas TakeX11Snapshot(X11Display& display, X11ShmRing* ring, std::string& error, Canvas ready,
                       MemoryBacker* backing) {
  MemoryBacker none;
  MemoryBacker& readyBacking = backing != nullptr ? *backing : none;
  const Size size = display.ScreenSize();
  const int visualClass = display.ScreenVisual()->c_class;
  if (visualClass != TrueColor && visualClass != DirectColor) {
    error = "X11: the screen is " + std::to_string(display.Depth()) + "-bit " + VisualClassName(visualClass) +
            "; only TrueColor screens of depth 15, 16, 24 or 30 can be read";
    readyBacking.Stop();
    return Canvas();
  }
  Canvas shot = ViaShm(display, ring, size, std::move(ready), readyBacking);
  if (shot.Empty()) shot = ViaGetImage(display, size, error);
  return shot;
}

}  // namespace rc
