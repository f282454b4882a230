#include "gfx/blend.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gfx/blend_pixel.h"
#include "gfx/blend_row.h"

namespace rc {

namespace {

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
// fixed offset, so the whole visible box goes to
// `rowsOp(to, toStride, from, fromStride, count, rows)` at once.
template <typename RowsOp>
void ForEachUnscaledBox(Canvas& dst, const Box& visible, const Canvas& src, int32_t dx, int32_t dy, RowsOp rowsOp) {
  const Box reachable = IntersectBox(visible, {src.Bounds().x - dx, src.Bounds().y - dy, src.Width(), src.Height()});
  if (reachable.Empty()) return;
  rowsOp(dst.Row(reachable.y) + reachable.x, static_cast<size_t>(dst.Width()),
         src.Row(reachable.y + dy) + dx + reachable.x, static_cast<size_t>(src.Width()), reachable.width,
         reachable.height);
}

// `op(d, s)` gives a destination pixel from its old value and the source
// pixel it samples; `rowsOp` does the same for a box of same-size pixels.
template <typename Op, typename RowsOp>
bool ForEachMapped(Canvas& dst, const Box& dstBox, const Canvas& src, const Box& srcBox, const Box& clip, Op op,
                   RowsOp rowsOp) {
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
    ForEachUnscaledBox(dst, visible, src, s.x - d.x, s.y - d.y, rowsOp);
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

void CopyRows(Pixel* to, size_t toStride, const Pixel* from, size_t fromStride, int32_t count, int32_t rows) {
  BlendRows(to, toStride, from, fromStride, count, rows, 255, false);
}

}  // namespace

Pixel BlendPixel(Pixel dst, Pixel src, uint8_t constantAlpha, bool perPixelAlpha) {
  return blend_pixel::Blend(dst, src, constantAlpha, perPixelAlpha);
}

bool AlphaBlendCanvas(Canvas& dst, const Box& dstBox, const Canvas& src, const Box& srcBox,
                      uint8_t constantAlpha, bool perPixelAlpha) {
  return AlphaBlendCanvasClipped(dst, dstBox, src, srcBox, constantAlpha, perPixelAlpha, dst.Bounds());
}

bool AlphaBlendCanvasClipped(Canvas& dst, const Box& dstBox, const Canvas& src, const Box& srcBox,
                             uint8_t constantAlpha, bool perPixelAlpha, const Box& clip) {
  if (dstBox.Empty() || srcBox.Empty()) return false;
  if (!perPixelAlpha && constantAlpha == 255) {
    return ForEachMapped(dst, dstBox, src, srcBox, clip, [](Pixel, Pixel s) { return s; }, CopyRows);
  }
  return ForEachMapped(
      dst, dstBox, src, srcBox, clip,
      [&](Pixel d, Pixel s) { return blend_pixel::Blend(d, s, constantAlpha, perPixelAlpha); },
      [&](Pixel* to, size_t toStride, const Pixel* from, size_t fromStride, int32_t count, int32_t rows) {
        BlendRows(to, toStride, from, fromStride, count, rows, constantAlpha, perPixelAlpha);
      });
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
  return ForEachMapped(dst, dstBox, src, srcBox, dst.Bounds(), [](Pixel, Pixel s) { return s; }, CopyRows);
}

}  // namespace rc
