#include "platform/wayland/wayland_pixels.h"

#include <cstring>

namespace rc {

namespace {

// wl_output_transform values and wl_shm format codes, spelled out so this
// file needs no Wayland header.
constexpr int32_t kTransform90 = 1, kTransform180 = 2, kTransform270 = 3, kFlipped = 4;
constexpr uint32_t kArgb8888 = 0, kXrgb8888 = 1, kAbgr8888 = 0x34324241, kXbgr8888 = 0x34324258;

bool Turned(int32_t transform) { return (transform & 1) != 0; }

Point SourceOf(const ScreenBufferLayout& in, int32_t x, int32_t y) {
  const int32_t w = in.width, h = in.height;
  if (in.transform & kFlipped) x = RotatedWidth(in) - 1 - x;
  Point s;
  switch (in.transform & 3) {
    case kTransform90: s = {w - 1 - y, x}; break;
    case kTransform180: s = {w - 1 - x, h - 1 - y}; break;
    case kTransform270: s = {y, h - 1 - x}; break;
    default: s = {x, y}; break;
  }
  if (in.yInverted) s.y = h - 1 - s.y;
  return s;
}

Pixel Opaque(uint32_t raw, bool swap) {
  if (swap) raw = (raw & 0xFF00FF00u) | ((raw >> 16) & 0xFFu) | ((raw & 0xFFu) << 16);
  return raw | 0xFF000000u;
}

const uint32_t* SourceRow(const ScreenBufferLayout& in, int32_t y) {
  const int32_t row = in.yInverted ? in.height - 1 - y : y;
  return reinterpret_cast<const uint32_t*>(in.bytes + static_cast<size_t>(in.stride) * row);
}

// Unrotated rows are copied whole, the common case at every frame size.
void ComposeStraight(const ScreenBufferLayout& in, Canvas& out, Point at, int32_t firstRow, int32_t endRow) {
  for (int32_t y = firstRow; y < endRow; ++y) {
    const uint32_t* src = SourceRow(in, y);
    Pixel* dst = out.Row(at.y + y) + at.x;
    for (int32_t x = 0; x < in.width; ++x) dst[x] = Opaque(src[x], in.swapRedBlue);
  }
}

}  // namespace

bool ReadableShmFormat(uint32_t format, bool& swapRedBlue) {
  swapRedBlue = format == kAbgr8888 || format == kXbgr8888;
  return format == kArgb8888 || format == kXrgb8888 || swapRedBlue;
}

int32_t RotatedWidth(const ScreenBufferLayout& in) { return Turned(in.transform) ? in.height : in.width; }
int32_t RotatedHeight(const ScreenBufferLayout& in) { return Turned(in.transform) ? in.width : in.height; }

void ComposeScreenRows(const ScreenBufferLayout& in, Canvas& out, Point at, int32_t firstRow, int32_t endRow) {
  if (in.transform == 0) {
    ComposeStraight(in, out, at, firstRow, endRow);
    return;
  }
  const int32_t width = RotatedWidth(in);
  for (int32_t y = firstRow; y < endRow; ++y) {
    Pixel* dst = out.Row(at.y + y) + at.x;
    for (int32_t x = 0; x < width; ++x) {
      const Point s = SourceOf(in, x, y);
      uint32_t raw;
      std::memcpy(&raw, in.bytes + static_cast<size_t>(in.stride) * s.y + static_cast<size_t>(s.x) * 4, 4);
      dst[x] = Opaque(raw, in.swapRedBlue);
    }
  }
}

}  // namespace rc
