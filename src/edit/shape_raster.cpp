#include "edit/shape_raster.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "edit/shape_geometry.h"
#include "gfx/raster.h"

namespace rc {

namespace {

// Keeps absurd coordinates from turning into billions of cells.
constexpr double kReach = 1 << 24;

int32_t Coordinate(double v) { return static_cast<int32_t>(std::floor(std::clamp(v, -kReach, kReach))); }

// How far left and right the polygon's outline reaches between `top` and
// `bottom`; left > right when it does not come there. A polygon's inside
// lies between its edges on every line across it, so this bounds what it
// covers in the band.
std::pair<double, double> SpanInBand(const Polygon& polygon, double top, double bottom) {
  double left = std::numeric_limits<double>::infinity(), right = -left;
  for (size_t i = 0; i < polygon.size(); ++i) {
    PointD a = polygon[i], b = polygon[(i + 1) % polygon.size()];
    if (a.y > b.y) std::swap(a, b);
    if (b.y < top || a.y > bottom) continue;
    const double dy = b.y - a.y;
    const auto xAt = [&](double y) { return dy > 0 ? a.x + (std::clamp(y, a.y, b.y) - a.y) * (b.x - a.x) / dy : a.x; };
    const double x0 = dy > 0 ? xAt(std::max(top, a.y)) : std::min(a.x, b.x);
    const double x1 = dy > 0 ? xAt(std::min(bottom, b.y)) : std::max(a.x, b.x);
    left = std::min({left, x0, x1});
    right = std::max({right, x0, x1});
  }
  return {left, right};
}

}  // namespace

void ShapeRaster::Replace(std::vector<Polygon> polygons, ShapePixels& pixels) {
  polygons_ = std::move(polygons);
  bins_.clear();
  Bin(0);
  std::vector<CellKey> gone;
  for (const auto& [cell, piece] : pixels.Pieces())
    if (!bins_.contains(cell)) gone.push_back(cell);
  for (const CellKey& cell : gone) pixels.SetCell(cell, Canvas());
  std::erase_if(madeFrom_, [this](const auto& made) { return !bins_.contains(made.first); });
  for (const auto& [cell, bin] : bins_) {
    std::vector<EdgeCell> edges = EdgesIn(cell);
    auto made = madeFrom_.find(cell);
    if (made != madeFrom_.end() && made->second == edges) continue;
    pixels.SetCell(cell, Paint(cell, edges));
    madeFrom_[cell] = std::move(edges);
  }
}

void ShapeRaster::Append(std::vector<Polygon> polygons, ShapePixels& pixels) {
  const size_t first = polygons_.size();
  for (Polygon& p : polygons) polygons_.push_back(std::move(p));
  for (const CellKey& cell : Bin(first)) pixels.SetCell(cell, Paint(cell, EdgesIn(cell)));
}

std::set<CellKey> ShapeRaster::Bin(size_t first) {
  std::set<CellKey> touched;
  for (size_t i = first; i < polygons_.size(); ++i) BinPolygon(i, touched);
  return touched;
}

// Band by band of cell rows, the cells between the outline's left and right
// ends there, grown by a pixel as the bounds are.
void ShapeRaster::BinPolygon(size_t index, std::set<CellKey>& touched) {
  const Polygon& polygon = polygons_[index];
  const BoundsD b = PolygonBounds(polygon);
  if (!(b.left <= b.right && b.top <= b.bottom)) return;
  const int32_t firstRow = CellOf(0, Coordinate(b.top)).second, lastRow = CellOf(0, Coordinate(b.bottom)).second;
  for (int32_t row = firstRow; row <= lastRow; ++row) {
    const double top = static_cast<double>(row) * kShapeCell - 1, bottom = top + kShapeCell + 2;
    const auto [left, right] = SpanInBand(polygon, top, bottom);
    if (!(left <= right)) continue;
    const int32_t from = CellOf(Coordinate(left - 1), 0).first, to = CellOf(Coordinate(right + 1), 0).first;
    for (int32_t column = from; column <= to; ++column) {
      bins_[{column, row}].push_back(index);
      touched.insert({column, row});
    }
  }
}

std::vector<EdgeCell> ShapeRaster::EdgesIn(const CellKey& cell) const {
  std::vector<EdgeCell> edges;
  const auto bin = bins_.find(cell);
  if (bin == bins_.end()) return edges;
  std::vector<const Polygon*> here;
  here.reserve(bin->second.size());
  for (size_t i : bin->second) here.push_back(&polygons_[i]);
  const Box box = CellBox(cell);
  SplitEdges(here, {static_cast<double>(box.x), static_cast<double>(box.y)}, {box.width, box.height}, edges);
  return edges;
}

Canvas ShapeRaster::Paint(const CellKey& cell, const std::vector<EdgeCell>& edges) const {
  if (edges.empty()) return {};
  const Box box = CellBox(cell);
  Canvas pixels(box.width, box.height);
  FillEdgeCells(pixels, edges, FillRule::NonZero, mosaic_ != nullptr ? 0xFFFFFFFFu : argb_);
  if (!AnyPixel(pixels)) return {};
  if (mosaic_ != nullptr) ApplyMosaic(pixels, box);
  return pixels;
}

// The cell was filled in opaque white, so each pixel's alpha is its
// coverage; the block's colour goes down at that coverage instead.
void ShapeRaster::ApplyMosaic(Canvas& coverage, const Box& cell) const {
  for (int32_t y = 0; y < coverage.Height(); ++y) {
    Pixel* row = coverage.Row(y);
    for (int32_t x = 0; x < coverage.Width(); ++x) {
      const uint8_t c = AlphaOf(row[x]);
      if (c != 0) row[x] = CompositeCoverage(0, mosaic_->ColourAt(cell.x + x, cell.y + y), c);
    }
  }
}

}  // namespace rc
