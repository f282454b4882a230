#include "output/clipboard_copy.h"

#include <chrono>
#include <thread>

#include "gfx/gp_image.h"

namespace rc {

namespace {

constexpr int kClipboardAttempts = 5;
constexpr auto kClipboardPause = std::chrono::milliseconds(40);

}  // namespace

HostResult PutOnClipboard(const Canvas& source, const Box& area) {
  if (source.Empty() || area.Empty()) return HostResult::Fail("no picture to copy");
  HostResult result;
  for (int attempt = 0; attempt < kClipboardAttempts; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(kClipboardPause);
    result = Host().SetClipboardImage(source, area);
    if (result) return result;
  }
  return result;
}

// The owner is the overlay window on every host; the host knows it.
HostResult CopyBitmapToClipboard(uintptr_t, std::span<const uint8_t> bmpBytes) {
  GpBitmap picture;
  if (bmpBytes.empty() || !picture.LoadFromBytes(bmpBytes)) return HostResult::Fail("the picture does not decode");
  return PutOnClipboard(picture.Pixels(), picture.Pixels().Bounds());
}

}  // namespace rc
