#include "overlay/selection_frame_layer.h"

#include <array>
#include <bit>
#include <cmath>

#include "gfx/blend.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_pen.h"
#include "gfx/raster.h"

namespace rc {

namespace {

constexpr float kHandleSize = 5;

// Handle corners on the frame canvas; the top middle one sits 2 pixels
// further left than the bottom middle one.
std::array<PointF, 8> HandleCorners(int32_t w, int32_t h) {
  const float fw = static_cast<float>(w);
  const float fh = static_cast<float>(h);
  return {{{0, 0}, {fw / 2 - 2, 0}, {fw, 0}, {0, fh / 2}, {fw, fh / 2}, {0, fh}, {fw / 2, fh}, {fw, fh}}};
}

Box Grow(const Box& b, int32_t by) { return {b.x - by, b.y - by, b.width + 2 * by, b.height + 2 * by}; }

// Every band and handle lies within this many pixels of the layer's edge,
// so a tile further in than that shows none of them.
constexpr int32_t kInteriorMargin = 8;

bool Inside(const Box& inner, const Box& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() && inner.Bottom() <= outer.Bottom();
}

// The pixel box a handle with its corner at frame point c may touch.
Box HandleReach(int32_t left, int32_t top, const PointF& c) {
  const int32_t x = left - 2 + static_cast<int32_t>(std::floor(c.x));
  const int32_t y = top - 2 + static_cast<int32_t>(std::floor(c.y));
  return Grow({x, y, 6, 6}, 1);
}

uint64_t FloatBits(float a, float b) {
  return static_cast<uint64_t>(std::bit_cast<uint32_t>(a)) << 32 | std::bit_cast<uint32_t>(b);
}

}  // namespace

void DrawFrameDecorations(GpGraphics& frame, int32_t w, int32_t h, uint32_t borderArgb, uint32_t handleArgb,
                          float dx, float dy) {
  GpPen pen;
  pen.Create(borderArgb, 1.0f);
  frame.DrawRectangle(pen, 2 + dx, 2 + dy, static_cast<float>(w), static_cast<float>(h));
  GpSolidBrush brush;
  brush.Create(handleArgb);
  for (const PointF& c : HandleCorners(w, h)) frame.FillRectangle(brush, c.x + dx, c.y + dy, kHandleSize, kHandleSize);
}

SelectionFrameLayer::SelectionFrameLayer(int32_t left, int32_t top, int32_t w, int32_t h, uint32_t borderArgb,
                                         uint32_t handleArgb)
    : left_(left), top_(top), w_(w), h_(h), border_(borderArgb), handle_(handleArgb) {}

Box SelectionFrameLayer::Bounds() const { return {left_ - 2, top_ - 2, w_ + 5, h_ + 5}; }

// The outline is four crisp one-pixel bands, so what a tile shows of it is
// fixed by where the bands cross the tile; a handle is fixed by its corner.
uint64_t SelectionFrameLayer::TileSignature(const Box& tile) const {
  const Box clip = IntersectBox(Bounds(), tile);
  if (clip.Empty() || Inside(tile, Grow(Bounds(), -kInteriorMargin))) return 0;
  uint64_t sig = MixBox(MixSignature(border_, handle_), clip);
  bool touched = false;
  for (const Box& band : Bands()) {
    if (IntersectBox(Grow(band, 1), tile).Empty()) continue;
    sig = MixBox(sig, IntersectBox(band, tile));
    touched = true;
  }
  for (const PointF& c : HandleCorners(w_, h_)) {
    if (IntersectBox(HandleReach(left_, top_, c), tile).Empty()) continue;
    sig = MixSignature(MixSignature(sig, FloatBits(c.x, c.y)), static_cast<uint64_t>(left_) << 32 | static_cast<uint32_t>(top_));
    touched = true;
  }
  return touched ? (sig | 1) : 0;
}

// Only the bands and the handles: a moving selection changes a thin strip
// of most tiles it crosses, not everything inside its bounds.
Box SelectionFrameLayer::TileReach(const Box& tile) const {
  Box reach;
  for (const Box& band : Bands()) reach = UnionBox(reach, IntersectBox(Grow(band, 1), tile));
  for (const PointF& c : HandleCorners(w_, h_)) reach = UnionBox(reach, IntersectBox(HandleReach(left_, top_, c), tile));
  return IntersectBox(reach, Bounds());
}

std::array<Box, 4> SelectionFrameLayer::Bands() const {
  return {{{left_, top_, 1, h_ + 1}, {left_ + w_, top_, 1, h_ + 1}, {left_, top_, w_ + 1, 1}, {left_, top_ + h_, w_ + 1, 1}}};
}

bool SelectionFrameLayer::TouchesHandle(const Box& area) const {
  for (const PointF& c : HandleCorners(w_, h_)) {
    if (!IntersectBox(HandleReach(left_, top_, c), area).Empty()) return true;
  }
  return false;
}

// Away from the handles (and so from the outline's corners) the outline is
// crisp one-pixel bands of full coverage, which need no rasterising.
void SelectionFrameLayer::RenderBands(Canvas& target, const Box& area) const {
  const Pixel border = CompositeCoverage(0, border_, 255);
  for (const Box& band : Bands()) {
    const Box part = IntersectBox(band, area);
    for (int32_t y = part.y; y < part.Bottom(); ++y) {
      Pixel* row = target.Row(y);
      for (int32_t x = part.x; x < part.Right(); ++x) row[x] = BlendPixel(row[x], border, 255, true);
    }
  }
}

void SelectionFrameLayer::Render(Canvas& target, const Box& clip) const {
  const Box area = IntersectBox(IntersectBox(Bounds(), clip), target.Bounds());
  if (area.Empty()) return;
  if (!TouchesHandle(area)) {
    RenderBands(target, area);
    return;
  }
  GpGraphics piece;
  piece.CreateCanvas(area.width, area.height);
  const Box bounds = Bounds();
  DrawFrameDecorations(piece, w_, h_, border_, handle_, static_cast<float>(bounds.x - area.x),
                       static_cast<float>(bounds.y - area.y));
  AlphaBlendCanvas(target, area, piece.CanvasDC(), piece.CanvasDC().Bounds(), 255, true);
}

}  // namespace rc
