#include "win/still_pixels.h"

#include "win/scene_layer.h"

namespace rc {

// Four independent running signatures, so that the multiplies overlap
// instead of waiting for each other.
uint64_t HashPixels(const Canvas& c) {
  const uint64_t seed = MixSignature(static_cast<uint64_t>(c.Width()), static_cast<uint64_t>(c.Height()));
  uint64_t lanes[4] = {seed, seed + 1, seed + 2, seed + 3};
  const size_t count = static_cast<size_t>(c.Width()) * c.Height();
  const Pixel* p = c.Data();
  const auto pair = [p](size_t i) { return p[i] | static_cast<uint64_t>(p[i + 1]) << 32; };
  size_t i = 0;
  for (; i + 8 <= count; i += 8) {
    for (size_t lane = 0; lane < 4; ++lane) lanes[lane] = MixSignature(lanes[lane], pair(i + 2 * lane));
  }
  for (; i < count; ++i) lanes[0] = MixSignature(lanes[0], p[i]);
  return MixSignature(MixSignature(lanes[0], lanes[1]), MixSignature(lanes[2], lanes[3]));
}

uint64_t NewPixelsKey() {
  static uint64_t made = 0;
  return MixSignature(0x51C6E7B2D93A4F05ull, ++made);
}

namespace {

bool AllOpaque(const Pixel* p, int32_t count) {
  Pixel all = 0xFF000000u;
  for (int32_t i = 0; i < count; ++i) all &= p[i];
  return all >= 0xFF000000u;
}

}  // namespace

// The widest opaque run of the middle row, grown up and down while its
// columns stay opaque: the magnifier's zoom, a toolbar's strip.
Box OpaqueBox(const Canvas& c) {
  if (c.Empty()) return {};
  const int32_t mid = c.Height() / 2;
  const Pixel* row = c.Row(mid);
  int32_t best = 0, bestWidth = 0;
  for (int32_t x = 0; x < c.Width();) {
    int32_t end = x;
    while (end < c.Width() && row[end] >= 0xFF000000u) ++end;
    if (end - x > bestWidth) best = x, bestWidth = end - x;
    x = end + 1;
  }
  if (bestWidth == 0) return {};
  int32_t top = mid, bottom = mid + 1;
  while (top > 0 && AllOpaque(c.Row(top - 1) + best, bestWidth)) --top;
  while (bottom < c.Height() && AllOpaque(c.Row(bottom) + best, bestWidth)) ++bottom;
  return {best, top, bestWidth, bottom - top};
}

}  // namespace rc
