#include "gfx/blend.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "gfx/blend_row.h"

namespace rc {

namespace {

// Two 8-bit channels sit in the low bytes of two 16-bit lanes (red and
// blue, or alpha and green), so one multiply handles both. Each lane's
// product stays below 2^16, and the lanes are divided by 255 with exactly
// Div255's rounding.
constexpr uint32_t kLaneMask = 0x00FF00FFu;
constexpr uint32_t kLaneRounding = 0x00800080u;

inline uint32_t LaneDiv255(uint32_t t) {
  t += kLaneRounding;
  return ((t + ((t >> 8) & kLaneMask)) >> 8) & kLaneMask;
}

// Lane sums of at most 510 clamped to 255.
inline uint32_t LaneClamp(uint32_t v) {
  const uint32_t over = (v >> 8) & 0x00010001u;
  return (v | over * 0xFFu) & kLaneMask;
}

inline Pixel Lanes(uint32_t redBlue, uint32_t alphaGreen) { return redBlue | alphaGreen << 8; }

// Every channel (alpha included) becomes s * a / 255 + d * (255 - a) / 255,
// rounded once.
inline Pixel BlendConstant(Pixel d, Pixel s, uint32_t a) {
  const uint32_t keep = 255 - a;
  const uint32_t rb = LaneDiv255((s & kLaneMask) * a + (d & kLaneMask) * keep);
  const uint32_t ag = LaneDiv255(((s >> 8) & kLaneMask) * a + ((d >> 8) & kLaneMask) * keep);
  return Lanes(rb, ag);
}

// The source scaled by a / 255, then laid over d: s' + d * (255 - alpha of s') / 255.
inline Pixel BlendOver(Pixel d, Pixel s, uint32_t a) {
  const uint32_t srb = LaneDiv255((s & kLaneMask) * a);
  const uint32_t sag = LaneDiv255(((s >> 8) & kLaneMask) * a);
  const uint32_t keep = 255 - (sag >> 16);
  const uint32_t rb = LaneClamp(srb + LaneDiv255((d & kLaneMask) * keep));
  const uint32_t ag = LaneClamp(sag + LaneDiv255(((d >> 8) & kLaneMask) * keep));
  return Lanes(rb, ag);
}

// For each destination offset 0..dstLen-1, the source offset it samples
// (nearest pixel centre), mirrored when the source runs backwards.
std::vector<int32_t> SampleMap(int32_t srcStart, int32_t srcLen, int32_t dstLen) {
  std::vector<int32_t> map(static_cast<size_t>(dstLen));
  const int64_t span = std::llabs(static_cast<int64_t>(srcLen));
  for (int32_t i = 0; i < dstLen; ++i) {
    const int64_t step = ((2 * static_cast<int64_t>(i) + 1) * span) / (2 * static_cast<int64_t>(dstLen));
    map[static_cast<size_t>(i)] = static_cast<int32_t>(srcLen >= 0 ? srcStart + step : srcStart - step);
  }
  return map;
}

// Normalises a destination box with a negative extent into a positive one
// and reports the mirroring so the source map can run the other way.
Box Positive(const Box& b, bool& flipX, bool& flipY) {
  Box p = b;
  flipX = b.width < 0;
  flipY = b.height < 0;
  if (flipX) {
    p.x = b.x + b.width + 1;
    p.width = -b.width;
  }
  if (flipY) {
    p.y = b.y + b.height + 1;
    p.height = -b.height;
  }
  return p;
}

// Same-size areas: each destination pixel samples the source pixel at a
// fixed offset, so whole row runs are handed to `rowOp(to, from, count)`.
template <typename RowOp>
void ForEachUnscaledRow(Canvas& dst, const Box& visible, const Canvas& src, int32_t dx, int32_t dy, RowOp rowOp) {
  const Box reachable = IntersectBox(visible, {src.Bounds().x - dx, src.Bounds().y - dy, src.Width(), src.Height()});
  for (int32_t y = reachable.y; y < reachable.Bottom(); ++y) {
    rowOp(dst.Row(y) + reachable.x, src.Row(y + dy) + dx + reachable.x, reachable.width);
  }
}

// `op(d, s)` gives a destination pixel from its old value and the source
// pixel it samples; `rowOp` does the same for a run of same-size pixels.
template <typename Op, typename RowOp>
bool ForEachMapped(Canvas& dst, const Box& dstBox, const Canvas& src, const Box& srcBox, const Box& clip, Op op,
                   RowOp rowOp) {
  if (dst.Empty() || src.Empty() || dstBox.width == 0 || dstBox.height == 0 || srcBox.width == 0 ||
      srcBox.height == 0) {
    return false;
  }
  bool flipX = false;
  bool flipY = false;
  const Box d = Positive(dstBox, flipX, flipY);
  Box s = srcBox;
  if (flipX) {
    s.x = srcBox.x + srcBox.width - (srcBox.width > 0 ? 1 : -1);
    s.width = -srcBox.width;
  }
  if (flipY) {
    s.y = srcBox.y + srcBox.height - (srcBox.height > 0 ? 1 : -1);
    s.height = -srcBox.height;
  }
  const Box visible = IntersectBox(IntersectBox(d, dst.Bounds()), clip);
  if (visible.Empty()) return true;
  if (s.width == d.width && s.height == d.height) {
    ForEachUnscaledRow(dst, visible, src, s.x - d.x, s.y - d.y, rowOp);
    return true;
  }
  const std::vector<int32_t> xs = SampleMap(s.x, s.width, d.width);
  const std::vector<int32_t> ys = SampleMap(s.y, s.height, d.height);
  for (int32_t y = visible.y; y < visible.Bottom(); ++y) {
    const int32_t sy = ys[static_cast<size_t>(y - d.y)];
    if (sy < 0 || sy >= src.Height()) continue;
    const Pixel* srcRow = src.Row(sy);
    Pixel* dstRow = dst.Row(y);
    for (int32_t x = visible.x; x < visible.Right(); ++x) {
      const int32_t sx = xs[static_cast<size_t>(x - d.x)];
      if (sx < 0 || sx >= src.Width()) continue;
      dstRow[x] = op(dstRow[x], srcRow[sx]);
    }
  }
  return true;
}

void CopyRow(Pixel* to, const Pixel* from, int32_t count) {
  std::memmove(to, from, static_cast<size_t>(count) * sizeof(Pixel));
}

}  // namespace

inline Pixel BlendPixelInline(Pixel dst, Pixel src, uint8_t constantAlpha, bool perPixelAlpha) {
  if (perPixelAlpha) {
    // Shortcuts that give exactly what the general formula gives.
    if (src == 0) return dst;
    if (constantAlpha == 255 && AlphaOf(src) == 255) return src;
    return BlendOver(dst, src, constantAlpha);
  }
  if (constantAlpha == 255) return src;
  return BlendConstant(dst, src, constantAlpha);
}

Pixel BlendPixel(Pixel dst, Pixel src, uint8_t constantAlpha, bool perPixelAlpha) {
  return BlendPixelInline(dst, src, constantAlpha, perPixelAlpha);
}

bool AlphaBlendCanvas(Canvas& dst, const Box& dstBox, const Canvas& src, const Box& srcBox,
                      uint8_t constantAlpha, bool perPixelAlpha) {
  return AlphaBlendCanvasClipped(dst, dstBox, src, srcBox, constantAlpha, perPixelAlpha, dst.Bounds());
}

bool AlphaBlendCanvasClipped(Canvas& dst, const Box& dstBox, const Canvas& src, const Box& srcBox,
                             uint8_t constantAlpha, bool perPixelAlpha, const Box& clip) {
  if (dstBox.Empty() || srcBox.Empty()) return false;
  if (!perPixelAlpha && constantAlpha == 255) {
    return ForEachMapped(dst, dstBox, src, srcBox, clip, [](Pixel, Pixel s) { return s; }, CopyRow);
  }
  return ForEachMapped(
      dst, dstBox, src, srcBox, clip, [&](Pixel d, Pixel s) { return BlendPixelInline(d, s, constantAlpha, perPixelAlpha); },
      [&](Pixel* to, const Pixel* from, int32_t count) { BlendRow(to, from, count, constantAlpha, perPixelAlpha); });
}

Canvas OpaqueCopy(const Canvas& source, const Box& area) {
  Canvas piece;
  if (!piece.Create(area.width, area.height)) return piece;
  StretchCopy(piece, piece.Bounds(), source, area);
  for (int32_t y = 0; y < area.height; ++y) {
    Pixel* row = piece.Row(y);
    for (int32_t x = 0; x < area.width; ++x) row[x] |= 0xFF000000u;
  }
  return piece;
}

bool StretchCopy(Canvas& dst, const Box& dstBox, const Canvas& src, const Box& srcBox) {
  return ForEachMapped(dst, dstBox, src, srcBox, dst.Bounds(), [](Pixel, Pixel s) { return s; }, CopyRow);
}

}  // namespace rc
