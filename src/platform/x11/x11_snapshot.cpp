#include "platform/x11/x11_snapshot.h"

#include <cstring>

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

void MakeOpaque(Pixel* pixels, size_t count) {
  for (size_t i = 0; i < count; ++i) pixels[i] |= 0xFF000000u;
}

// The server just wrote these pixels, so the pass is quick; two threads
// halve it where a second core is free.
void MakeOpaqueInParallel(Pixel* pixels, size_t count) {
  const size_t half = count / 2;
  std::thread upper = StartThreadOrRunHere([&] { MakeOpaque(pixels, half); });
  MakeOpaque(pixels + half, count - half);
  if (upper.joinable()) upper.join();
}

// Fresh shared memory is backed page by page as it is first written. The
// server writes the screen into it from the top while a thread of ours
// backs the lower half, so the two share that work where a core is free.
bool GetIntoFresh(X11ShmImage& image, Window root) {
  const Size size = image.Dimensions();
  const size_t upper = static_cast<size_t>(size.width) * (size.height / 2);
  const size_t lower = static_cast<size_t>(size.width) * size.height - upper;
  Pixel* half = image.Pixels() + upper;
  std::thread backer = StartThreadOrRunHere([half, lower] { PrefaultForWriting(half, lower * sizeof(Pixel)); });
  const bool got = image.Get(root);
  if (backer.joinable()) backer.join();
  return got;
}

Canvas ViaShm(X11Display& display, Size size, std::shared_ptr<X11ShmImage> ready) {
  if (ready != nullptr && ready->Dimensions() != size) ready.reset();
  const bool fresh = ready == nullptr;
  std::shared_ptr<X11ShmImage> image = fresh ? X11ShmImage::Create(display, size) : std::move(ready);
  if (image == nullptr) return Canvas();
  if (!(fresh ? GetIntoFresh(*image, display.Root()) : image->Get(display.Root()))) return Canvas();
  Pixel* pixels = image->Pixels();
  MakeOpaqueInParallel(pixels, static_cast<size_t>(size.width) * size.height);
  Canvas out;
  out.AdoptContents(pixels, size.width, size.height, [keep = std::move(image)](Pixel*) mutable { keep.reset(); });
  return out;
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

X11SnapshotBuffers PrepareX11SnapshotBuffers(X11Display& display) {
  const Size size = display.ScreenSize();
  const size_t bytes = static_cast<size_t>(size.width) * size.height * sizeof(Pixel);
  X11SnapshotBuffers ready;
  ready.image = X11ShmImage::Create(display, size);
  if (ready.image == nullptr || !ready.image->Get(display.Root())) return {};
  PrefaultForWriting(ready.image->Pixels(), bytes);
  // The server maps shared memory on its side too, page by page as it first
  // reads it: a read of the screen into the back buffer backs both sides,
  // and clearing it leaves the back buffer transparent.
  ready.surface = X11ShmImage::Create(display, size);
  if (ready.surface != nullptr && !ready.surface->Get(display.Root())) ready.surface.reset();
  if (ready.surface != nullptr) std::memset(ready.surface->Pixels(), 0, bytes);
  return ready;
}

Canvas TakeX11Snapshot(X11Display& display, std::string& error, std::shared_ptr<X11ShmImage> ready) {
  const Size size = display.ScreenSize();
  const int visualClass = display.ScreenVisual()->c_class;
  if (visualClass != TrueColor && visualClass != DirectColor) {
    error = "X11: the screen is " + std::to_string(display.Depth()) + "-bit " + VisualClassName(visualClass) +
            "; only TrueColor screens of depth 15, 16, 24 or 30 can be read";
    return Canvas();
  }
  Canvas shot = ViaShm(display, size, std::move(ready));
  if (shot.Empty()) shot = ViaGetImage(display, size, error);
  return shot;
}

}  // namespace rc
