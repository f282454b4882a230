#include "gfx/image_draw.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "gfx/blend.h"

namespace rc {

namespace {

struct Axis {
  int32_t first = 0;         // first destination pixel drawn
  std::vector<int64_t> map;  // source index per destination pixel
};

// Destination pixels run from round(start) to round(start + length), clipped
// to [0, limit); each samples the source at its centre.
Axis MapAxis(double start, double length, double srcStart, double srcLength, int32_t limit) {
  Axis axis;
  const double lo = std::max(std::round(start), 0.0);
  const double hi = std::min(std::round(start + length), static_cast<double>(limit));
  axis.first = static_cast<int32_t>(lo);
  const double scale = srcLength / length;
  for (double i = lo; i < hi; i += 1) {
    const double u = std::floor(srcStart + (i + 0.5 - start) * scale);
    // Anything beyond int range is far outside every picture.
    axis.map.push_back(std::fabs(u) < 2e9 ? static_cast<int64_t>(u) : -1);
  }
  return axis;
}

Pixel Over(Pixel d, Pixel s) {
  const uint32_t keep = 255 - AlphaOf(s);
  if (keep == 0) return s;
  Pixel out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t v = ((s >> shift) & 0xFFu) + Div255(((d >> shift) & 0xFFu) * keep);
    out |= std::min<uint32_t>(v, 255) << shift;
  }
  return out;
}

bool Usable(const RectF& r) {
  return std::isfinite(r.x) && std::isfinite(r.y) && std::isfinite(r.width) && std::isfinite(r.height) &&
         r.width > 0 && r.height > 0;
}

}  // namespace

void DrawImageScaled(Canvas& dst, const RectF& dstRect, const Canvas& src, const RectF& srcRect,
                     Pixel beyondEdge) {
  if (dst.Empty() || !Usable(dstRect) || !Usable(srcRect)) return;
  const Axis xs = MapAxis(dstRect.x, dstRect.width, srcRect.x, srcRect.width, dst.Width());
  const Axis ys = MapAxis(dstRect.y, dstRect.height, srcRect.y, srcRect.height, dst.Height());
  for (size_t j = 0; j < ys.map.size(); ++j) {
    Pixel* row = dst.Row(ys.first + static_cast<int32_t>(j));
    const int64_t sy = ys.map[j];
    const bool rowInside = sy >= 0 && sy < src.Height();
    for (size_t i = 0; i < xs.map.size(); ++i) {
      const int64_t sx = xs.map[i];
      const bool inside = rowInside && sx >= 0 && sx < src.Width();
      const Pixel s = inside ? src.Row(static_cast<int32_t>(sy))[sx] : beyondEdge;
      Pixel& d = row[xs.first + static_cast<int32_t>(i)];
      d = Over(d, s);
    }
  }
}

}  // namespace rc
