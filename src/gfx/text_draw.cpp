#include "gfx/text_draw.h"

#include <algorithm>
#include <cmath>

#include "gfx/raster.h"

namespace rc {

namespace {

// Pixels whose index lies in [round(start), round(start + length)), within
// [0, limit).
void ClipRange(float start, float length, int32_t limit, int32_t& from, int32_t& to) {
  from = std::max(static_cast<int32_t>(std::lround(start)), 0);
  to = std::min(static_cast<int32_t>(std::lround(start + length)), limit);
}

// Keeps every later rounding within int range.
bool Reasonable(const RectF& r, float pad) {
  constexpr float kLimit = 1e7f;
  for (float v : {r.x, r.y, r.width, r.height, pad}) {
    if (!std::isfinite(v) || std::fabs(v) > kLimit) return false;
  }
  return true;
}

}  // namespace

float TextLeftPadding(float emSize) { return emSize / 6.0f; }

void DrawTextMask(Canvas& canvas, const TextMask& mask, const RectF& layout, float padLeft, uint32_t argb) {
  if (canvas.Empty() || mask.width <= 0 || mask.height <= 0 || !Reasonable(layout, padLeft)) return;
  if (mask.coverage.size() < static_cast<size_t>(mask.width) * static_cast<size_t>(mask.height)) return;
  int32_t x0, x1, y0, y1;
  ClipRange(layout.x, layout.width, canvas.Width(), x0, x1);
  ClipRange(layout.y, layout.height, canvas.Height(), y0, y1);
  const int32_t ox = static_cast<int32_t>(std::lround(layout.x + padLeft)) + mask.left;
  const int32_t oy = static_cast<int32_t>(std::lround(layout.y)) + mask.top;
  for (int32_t y = std::max(y0, oy); y < std::min(y1, oy + mask.height); ++y) {
    const uint8_t* cov = mask.coverage.data() + static_cast<size_t>(y - oy) * mask.width;
    Pixel* row = canvas.Row(y);
    for (int32_t x = std::max(x0, ox); x < std::min(x1, ox + mask.width); ++x) {
      const uint8_t c = cov[x - ox];
      if (c != 0) row[x] = CompositeCoverage(row[x], argb, c);
    }
  }
}

}  // namespace rc
