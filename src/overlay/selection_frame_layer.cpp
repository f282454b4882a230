#include "overlay/selection_frame_layer.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <map>
#include <tuple>

#include "gfx/blend.h"
#include "gfx/gp_brush.h"
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

// Whether the boxes share a pixel.
bool Meets(const Box& a, const Box& b) {
  return !a.Empty() && !b.Empty() && a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

bool Inside(const Box& inner, const Box& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() && inner.Bottom() <= outer.Bottom();
}

// The pixel box a handle with its corner at frame point c may touch.
Box HandleReach(int32_t left, int32_t top, const PointF& c, const FrameMetrics& m) {
  const int32_t x = left - m.Reach() + static_cast<int32_t>(std::floor(c.x));
  const int32_t y = top - m.Reach() + static_cast<int32_t>(std::floor(c.y));
  return Grow({x, y, m.handle + 1, m.handle + 1}, 1);
}

// The parts of `outer` outside `hole` (which lies within it), as up to
// four boxes.
std::vector<Box> BoxesAround(const Box& outer, const Box& hole) {
  if (hole.Empty()) return {outer};
  std::vector<Box> parts = {{outer.x, outer.y, outer.width, hole.y - outer.y},
                            {outer.x, hole.Bottom(), outer.width, outer.Bottom() - hole.Bottom()},
                            {outer.x, hole.y, hole.x - outer.x, hole.height},
                            {hole.Right(), hole.y, outer.Right() - hole.Right(), hole.height}};
  std::erase_if(parts, [](const Box& b) { return b.Empty(); });
  return parts;
}

// A handle's coverage as the rasteriser fills a square of `side` with its
// corner at c: (side + 1) x (side + 1) pixels from the pixel holding c.
// Corners lie on whole or half pixels, where the rasteriser's sums are
// exact, so the coverage is the same wherever the square lies; it is
// filled once per side and fraction instead of once per handle and frame.
const std::vector<uint8_t>& HandleCoverage(int32_t side, const PointF& c) {
  static std::map<std::tuple<int32_t, float, float>, std::vector<uint8_t>> filled;
  const float fx = c.x - std::floor(c.x);
  const float fy = c.y - std::floor(c.y);
  auto [found, fresh] = filled.try_emplace({side, fx, fy});
  if (fresh) {
    Canvas square(side + 1, side + 1);
    const auto s = static_cast<float>(side);
    FillPolygons(square, {{{fx, fy}, {fx + s, fy}, {fx + s, fy + s}, {fx, fy + s}}}, FillRule::NonZero, 0xFFFFFFFF);
    for (int32_t y = 0; y <= side; ++y) {
      for (int32_t x = 0; x <= side; ++x) found->second.push_back(AlphaOf(square.At(x, y)));
    }
  }
  return found->second;
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
  // The outline is four bands filled together, so that where they overlap
  // (the corners, and all of a selection thinner than a line) each pixel
  // is covered once, as the tiles drawing the bands alone cover it.
  std::vector<Polygon> outline;
  for (const Box& band : FrameBands(w, h, metrics)) {
    const double x = band.x + dx, y = band.y + dy, right = band.Right() + dx, bottom = band.Bottom() + dy;
    outline.push_back({{x, y}, {right, y}, {right, bottom}, {x, bottom}});
  }
  FillPolygons(frame.CanvasDC(), outline, FillRule::NonZero, borderArgb);
  GpSolidBrush brush;
  brush.Create(handleArgb);
  const auto side = static_cast<float>(metrics.handle);
  for (const PointF& c : HandleCorners(w, h, metrics)) frame.FillRectangle(brush, c.x + dx, c.y + dy, side, side);
}

// The compositor asks every tile along the frame for its signature on
// every frame, so what those answers need is worked out once here.
SelectionFrameLayer::SelectionFrameLayer(int32_t left, int32_t top, int32_t w, int32_t h, uint32_t borderArgb,
                                         uint32_t handleArgb, FrameMetrics metrics)
    : left_(left), top_(top), w_(w), h_(h), border_(borderArgb), handle_(handleArgb), metrics_(metrics),
      bounds_{left - metrics.Reach(), top - metrics.Reach(), metrics.Span(w), metrics.Span(h)},
      interior_(Grow(bounds_, -InteriorMargin(metrics))),
      corners_(HandleCorners(w, h, metrics)) {
  bands_ = FrameBands(w, h, metrics);
  for (size_t i = 0; i < bands_.size(); ++i) {
    bands_[i].x += bounds_.x;
    bands_[i].y += bounds_.y;
    bandReach_[i] = Grow(bands_[i], 1);
  }
  for (size_t i = 0; i < corners_.size(); ++i) handleReach_[i] = HandleReach(left, top, corners_[i], metrics);
  look_ = MixSignature(MixSignature(border_, handle_),
                       static_cast<uint64_t>(metrics_.line) << 32 | static_cast<uint32_t>(metrics_.handle));
}

Box SelectionFrameLayer::Bounds() const { return bounds_; }

// The outline is four crisp bands a line wide, so what a tile shows of it is
// fixed by where the bands cross the tile; a handle is fixed by its corner.
uint64_t SelectionFrameLayer::TileSignature(const Box& tile) const {
  const Box clip = IntersectBox(bounds_, tile);
  if (clip.Empty() || Inside(tile, interior_)) return 0;
  uint64_t sig = MixBox(look_, clip);
  bool touched = false;
  for (size_t i = 0; i < bands_.size(); ++i) {
    if (!Meets(bandReach_[i], tile)) continue;
    sig = MixBox(sig, IntersectBox(bands_[i], tile));
    touched = true;
  }
  for (size_t i = 0; i < corners_.size(); ++i) {
    if (!Meets(handleReach_[i], tile)) continue;
    sig = MixSignature(MixSignature(sig, FloatBits(corners_[i].x, corners_[i].y)),
                       static_cast<uint64_t>(left_) << 32 | static_cast<uint32_t>(top_));
    touched = true;
  }
  return touched ? (sig | 1) : 0;
}

// Only the bands and the handles: a moving selection changes a thin strip
// of most tiles it crosses, not everything inside its bounds.
Box SelectionFrameLayer::TileReach(const Box& tile) const {
  Box reach;
  for (const Box& band : bandReach_) reach = UnionBox(reach, IntersectBox(band, tile));
  for (const Box& handle : handleReach_) reach = UnionBox(reach, IntersectBox(handle, tile));
  return IntersectBox(reach, bounds_);
}

// The ring along the layer's edge that holds the bands and the handles; a
// large selection's inside is never looked at.
std::vector<Box> SelectionFrameLayer::Footprint() const {
  const Box b = Bounds();
  const int32_t m = std::min({InteriorMargin(metrics_), b.width, b.height});
  return {{b.x, b.y, b.width, m}, {b.x, b.Bottom() - m, b.width, m}, {b.x, b.y, m, b.height}, {b.Right() - m, b.y, m, b.height}};
}

// The place, the size, the colours and the metrics fix every pixel.
uint64_t SelectionFrameLayer::Signature() const {
  constexpr uint64_t kFrameSeed = 0x4652414D454C4159ull;
  return MixBox(MixSignature(kFrameSeed, look_), {left_, top_, w_, h_}) | 1;
}

std::array<Box, 4> FrameBands(int32_t w, int32_t h, const FrameMetrics& m) {
  const int32_t l = m.line;
  const int32_t r = m.Reach();
  return {{{r, r, l, h + l}, {r + w, r, l, h + l}, {r, r, w + l, l}, {r, r + h, w + l, l}}};
}

bool SelectionFrameLayer::TouchesHandle(const Box& area) const {
  return std::any_of(handleReach_.begin(), handleReach_.end(), [&area](const Box& reach) { return Meets(reach, area); });
}

// Away from the handles (and so from the outline's corners) the outline is
// crisp bands of full coverage, which need no rasterising.
// Bands overlap at the corners, and wholly on a selection thinner than a
// line; a pixel they share is laid over once, as the frame canvas holds it.
// An opaque band gives the same pixel however often it is laid, so it is
// simply filled in.
void SelectionFrameLayer::RenderBands(Canvas& target, const Box& area) const {
  const Pixel border = CompositeCoverage(0, border_, 255);
  std::array<Box, 4> parts = bands_;
  for (Box& part : parts) part = IntersectBox(part, area);
  if (AlphaOf(border) == 255) {
    for (const Box& part : parts) target.Fill(part, border);
    return;
  }
  std::array<std::pair<int32_t, int32_t>, 4> spans;
  for (int32_t y = area.y; y < area.Bottom(); ++y) {
    size_t count = 0;
    for (const Box& part : parts) {
      if (!part.Empty() && y >= part.y && y < part.Bottom()) spans[count++] = {part.x, part.Right()};
    }
    std::sort(spans.begin(), spans.begin() + static_cast<ptrdiff_t>(count));
    Pixel* row = target.Row(y);
    int32_t done = area.x;  // pixels left of this are laid already
    for (size_t i = 0; i < count; ++i) {
      for (int32_t x = std::max(spans[i].first, done); x < spans[i].second; ++x) {
        row[x] = BlendPixel(row[x], border, 255, true);
      }
      done = std::max(done, spans[i].second);
    }
  }
}

// Near the handles the frame canvas holds the bands with the handles laid
// over them, and that canvas is then laid over the screen: the same two
// steps here, in a small piece over the handles' pixels only.
void SelectionFrameLayer::RenderNearHandles(Canvas& target, const Box& area) const {
  Box near;
  for (const PointF& c : corners_) near = UnionBox(near, IntersectBox(HandlePixels(c), area));
  for (const Box& part : BoxesAround(area, near)) RenderBands(target, part);
  if (near.Empty()) return;
  static thread_local std::vector<Pixel> piece;
  piece.assign(static_cast<size_t>(near.width) * static_cast<size_t>(near.height), 0);
  const auto at = [&](int32_t x, int32_t y) -> Pixel& {
    return piece[static_cast<size_t>(y - near.y) * static_cast<size_t>(near.width) + static_cast<size_t>(x - near.x)];
  };
  const Pixel border = CompositeCoverage(0, border_, 255);
  for (const Box& band : bands_) {
    const Box part = IntersectBox(band, near);
    for (int32_t y = part.y; y < part.Bottom(); ++y) std::fill_n(&at(part.x, y), part.width, border);
  }
  for (const PointF& c : corners_) {
    const Box pixels = HandlePixels(c);
    const Box part = IntersectBox(pixels, near);
    const std::vector<uint8_t>& coverage = HandleCoverage(metrics_.handle, c);
    for (int32_t y = part.y; y < part.Bottom(); ++y) {
      const uint8_t* cov = coverage.data() + static_cast<size_t>(y - pixels.y) * static_cast<size_t>(pixels.width);
      for (int32_t x = part.x; x < part.Right(); ++x) {
        if (cov[x - pixels.x] != 0) at(x, y) = CompositeCoverage(at(x, y), handle_, cov[x - pixels.x]);
      }
    }
  }
  for (int32_t y = near.y; y < near.Bottom(); ++y) {
    Pixel* row = target.Row(y);
    for (int32_t x = near.x; x < near.Right(); ++x) row[x] = BlendPixel(row[x], at(x, y), 255, true);
  }
}

// The pixels a handle with its corner at frame point c covers at all.
Box SelectionFrameLayer::HandlePixels(const PointF& c) const {
  return {bounds_.x + static_cast<int32_t>(std::floor(c.x)), bounds_.y + static_cast<int32_t>(std::floor(c.y)),
          metrics_.handle + 1, metrics_.handle + 1};
}

// The handles are laid in a piece of their own that spans the handles the
// area meets, so an area that meets handles goes in tile-sized parts: the
// piece stays a few kilobytes however far apart the handles are. Every
// part gives the pixels the whole would.
void SelectionFrameLayer::Render(Canvas& target, const Box& clip) const {
  constexpr int32_t kPart = 64;
  const Box area = IntersectBox(IntersectBox(Bounds(), clip), target.Bounds());
  if (area.Empty()) return;
  if (!TouchesHandle(area)) {
    RenderBands(target, area);
    return;
  }
  for (int32_t y = area.y; y < area.Bottom(); y += kPart) {
    for (int32_t x = area.x; x < area.Right(); x += kPart) {
      const Box part = IntersectBox(area, {x, y, kPart, kPart});
      if (TouchesHandle(part)) RenderNearHandles(target, part);
      else RenderBands(target, part);
    }
  }
}

}  // namespace rc
