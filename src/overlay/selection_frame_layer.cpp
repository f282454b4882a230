#include "overlay/selection_frame_layer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

#include "gfx/blend.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_pen.h"
#include "gfx/raster.h"

namespace rc {

namespace {

// Handle corners on the frame canvas; the top middle one sits two line
// widths further left than the bottom middle one.
std::array<PointF, 8> HandleCorners(int32_t w, int32_t h, const FrameMetrics& m) {
  const float fw = static_cast<float>(w);
  const float fh = static_cast<float>(h);
  const auto shift = static_cast<float>(2 * m.line);
  return {{{0, 0}, {fw / 2 - shift, 0}, {fw, 0}, {0, fh / 2}, {fw, fh / 2}, {0, fh}, {fw / 2, fh}, {fw, fh}}};
}

Box Grow(const Box& b, int32_t by) { return {b.x - by, b.y - by, b.width + 2 * by, b.height + 2 * by}; }

// Every band and handle lies within this many pixels of the layer's edge,
// so a tile further in than that shows none of them (8 at 1x).
int32_t InteriorMargin(const FrameMetrics& m) { return m.handle + 3 * m.line; }

bool Inside(const Box& inner, const Box& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() && inner.Bottom() <= outer.Bottom();
}

// The pixel box a handle with its corner at frame point c may touch.
Box HandleReach(int32_t left, int32_t top, const PointF& c, const FrameMetrics& m) {
  const int32_t x = left - m.Reach() + static_cast<int32_t>(std::floor(c.x));
  const int32_t y = top - m.Reach() + static_cast<int32_t>(std::floor(c.y));
  return Grow({x, y, m.handle + 1, m.handle + 1}, 1);
}

uint64_t FloatBits(float a, float b) {
  return static_cast<uint64_t>(std::bit_cast<uint32_t>(a)) << 32 | std::bit_cast<uint32_t>(b);
}

}  // namespace

FrameMetrics FrameMetricsAt(float scale) {
  if (scale == 1) return {};
  const int32_t line = std::max(1, static_cast<int32_t>(std::lround(scale)));
  // The handle is wider than the line by an even count, so it centres on it.
  const auto reach = static_cast<int32_t>(std::lround((5 * scale - line) / 2));
  return {line, line + 2 * reach};
}

void DrawFrameDecorations(GpGraphics& frame, int32_t w, int32_t h, uint32_t borderArgb, uint32_t handleArgb,
                          float dx, float dy, FrameMetrics metrics) {
  GpPen pen;
  pen.Create(borderArgb, static_cast<float>(metrics.line));
  // A pen line at x is centred on x + 0.5: this puts the outline's outer
  // edge `Reach` pixels into the canvas.
  const float at = static_cast<float>(metrics.Reach()) + (static_cast<float>(metrics.line) - 1) / 2;
  frame.DrawRectangle(pen, at + dx, at + dy, static_cast<float>(w), static_cast<float>(h));
  GpSolidBrush brush;
  brush.Create(handleArgb);
  const auto side = static_cast<float>(metrics.handle);
  for (const PointF& c : HandleCorners(w, h, metrics)) frame.FillRectangle(brush, c.x + dx, c.y + dy, side, side);
}

SelectionFrameLayer::SelectionFrameLayer(int32_t left, int32_t top, int32_t w, int32_t h, uint32_t borderArgb,
                                         uint32_t handleArgb, FrameMetrics metrics)
    : left_(left), top_(top), w_(w), h_(h), border_(borderArgb), handle_(handleArgb), metrics_(metrics) {}

Box SelectionFrameLayer::Bounds() const {
  const int32_t reach = metrics_.Reach();
  return {left_ - reach, top_ - reach, metrics_.Span(w_), metrics_.Span(h_)};
}

// The outline is four crisp bands a line wide, so what a tile shows of it is
// fixed by where the bands cross the tile; a handle is fixed by its corner.
uint64_t SelectionFrameLayer::TileSignature(const Box& tile) const {
  const Box clip = IntersectBox(Bounds(), tile);
  if (clip.Empty() || Inside(tile, Grow(Bounds(), -InteriorMargin(metrics_)))) return 0;
  const uint64_t look = MixSignature(MixSignature(border_, handle_), static_cast<uint64_t>(metrics_.line) << 32 |
                                                                          static_cast<uint32_t>(metrics_.handle));
  uint64_t sig = MixBox(look, clip);
  bool touched = false;
  for (const Box& band : Bands()) {
    if (IntersectBox(Grow(band, 1), tile).Empty()) continue;
    sig = MixBox(sig, IntersectBox(band, tile));
    touched = true;
  }
  for (const PointF& c : HandleCorners(w_, h_, metrics_)) {
    if (IntersectBox(HandleReach(left_, top_, c, metrics_), tile).Empty()) continue;
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
  for (const PointF& c : HandleCorners(w_, h_, metrics_)) {
    reach = UnionBox(reach, IntersectBox(HandleReach(left_, top_, c, metrics_), tile));
  }
  return IntersectBox(reach, Bounds());
}

// The ring along the layer's edge that holds the bands and the handles; a
// large selection's inside is never looked at.
std::vector<Box> SelectionFrameLayer::Footprint() const {
  const Box b = Bounds();
  const int32_t m = std::min({InteriorMargin(metrics_), b.width, b.height});
  return {{b.x, b.y, b.width, m}, {b.x, b.Bottom() - m, b.width, m}, {b.x, b.y, m, b.height}, {b.Right() - m, b.y, m, b.height}};
}

std::array<Box, 4> SelectionFrameLayer::Bands() const {
  const int32_t l = metrics_.line;
  return {{{left_, top_, l, h_ + l}, {left_ + w_, top_, l, h_ + l}, {left_, top_, w_ + l, l}, {left_, top_ + h_, w_ + l, l}}};
}

bool SelectionFrameLayer::TouchesHandle(const Box& area) const {
  for (const PointF& c : HandleCorners(w_, h_, metrics_)) {
    if (!IntersectBox(HandleReach(left_, top_, c, metrics_), area).Empty()) return true;
  }
  return false;
}

// Away from the handles (and so from the outline's corners) the outline is
// crisp bands of full coverage, which need no rasterising.
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
                       static_cast<float>(bounds.y - area.y), metrics_);
  AlphaBlendCanvas(target, area, piece.CanvasDC(), piece.CanvasDC().Bounds(), 255, true);
}

}  // namespace rc
