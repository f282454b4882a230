#include "platform/x11/x11_pixels.h"

#include <bit>

namespace rc {

namespace {

uint32_t ChannelFrom(unsigned long value, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const unsigned long max = mask >> shift;
  return static_cast<uint32_t>(((value & mask) >> shift) * 255 / max);
}

unsigned long ChannelTo(uint32_t c, unsigned long mask) {
  if (mask == 0) return 0;
  const int shift = std::countr_zero(mask);
  const unsigned long max = mask >> shift;
  return ((c * max + 127) / 255) << shift;
}

}  // namespace

Pixel PixelFromVisual(unsigned long value, const X11PixelFormat& format) {
  return MakePixel(255, ChannelFrom(value, format.redMask), ChannelFrom(value, format.greenMask),
                   ChannelFrom(value, format.blueMask));
}

unsigned long PixelToVisual(Pixel p, const X11PixelFormat& format) {
  return ChannelTo(RedOf(p), format.redMask) | ChannelTo(GreenOf(p), format.greenMask) |
         ChannelTo(BlueOf(p), format.blueMask);
}

}  // namespace rc
