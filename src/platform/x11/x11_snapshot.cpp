#include "platform/x11/x11_snapshot.h"

#include "gfx/thread_start.h"
#include "platform/posix/posix_memory.h"
#include "platform/x11/x11_pixels.h"
#include "platform/x11/x11_shm_image.h"

namespace rc {

namespace {

// Rows of B, G, R, x bytes; the x byte is not defined, the result is opaque.
void CopyOpaque(const uint8_t* data, int32_t stride, Canvas& out, int32_t firstRow, int32_t endRow) {
  for (int32_t y = firstRow; y < endRow; ++y) {
    const auto* row = reinterpret_cast<const Pixel*>(data + static_cast<size_t>(stride) * y);
    Pixel* dst = out.Row(y);
    for (int32_t x = 0; x < out.Width(); ++x) dst[x] = row[x] | 0xFF000000u;
  }
}

// Fresh memory is slow to touch the first time: the canvas is backed in one
// call and the copy split between two threads.
void CopyOpaqueInParallel(const uint8_t* data, int32_t stride, Canvas& out) {
  PrefaultForWriting(out.Data(), static_cast<size_t>(out.Width()) * out.Height() * sizeof(Pixel));
  const int32_t half = out.Height() / 2;
  std::thread lower = StartThreadOrRunHere([&] { CopyOpaque(data, stride, out, half, out.Height()); });
  CopyOpaque(data, stride, out, 0, half);
  if (lower.joinable()) lower.join();
}

Canvas ViaShm(X11Display& display, Size size, std::shared_ptr<X11ShmImage>& grabImage) {
  Canvas out;
  auto image = X11ShmImage::Create(display, size);
  if (image == nullptr || !image->Get(display.Root()) || !out.Create(size.width, size.height)) return out;
  CopyOpaqueInParallel(reinterpret_cast<const uint8_t*>(image->Pixels()), size.width * 4, out);
  grabImage = std::move(image);
  return out;
}

void ConvertGeneric(XImage* image, const X11PixelFormat& format, Canvas& out) {
  for (int32_t y = 0; y < out.Height(); ++y)
    for (int32_t x = 0; x < out.Width(); ++x) out.Row(y)[x] = PixelFromVisual(XGetPixel(image, x, y), format);
}

Canvas ViaGetImage(X11Display& display, Size size) {
  Canvas out;
  XImage* image = XGetImage(display.Dpy(), display.Root(), 0, 0, size.width, size.height, AllPlanes, ZPixmap);
  if (image == nullptr) return out;
  if (!out.Create(size.width, size.height)) {
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

}  // namespace

Canvas TakeX11Snapshot(X11Display& display, std::shared_ptr<X11ShmImage>& grabImage) {
  const Size size = display.ScreenSize();
  const int visualClass = display.ScreenVisual()->c_class;
  if (visualClass != TrueColor && visualClass != DirectColor) return Canvas();
  Canvas shot = ViaShm(display, size, grabImage);
  if (shot.Empty()) shot = ViaGetImage(display, size);
  return shot;
}

}  // namespace rc
