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

}  // namespace

void ShapeRaster::Replace(std::vector<Polygon> polygons, ShapePixels& pixels) {
  polygons_ = std::move(polygons);
  bins_.clear();
  pixels.Clear();
  Remake(Bin(0), pixels);
}

void ShapeRaster::Append(std::vector<Polygon> polygons, ShapePixels& pixels) {
  const size_t first = polygons_.size();
  for (Polygon& p : polygons) polygons_.push_back(std::move(p));
  Remake(Bin(first), pixels);
}

std::set<CellKey> ShapeRaster::Bin(size_t first) {
  std::set<CellKey> touched;
  for (size_t i = first; i < polygons_.size(); ++i) {
    const BoundsD b = PolygonBounds(polygons_[i]);
    if (!(b.left <= b.right && b.top <= b.bottom)) continue;
    const Box box{Coordinate(b.left), Coordinate(b.top), Coordinate(b.right) - Coordinate(b.left) + 1,
                  Coordinate(b.bottom) - Coordinate(b.top) + 1};
    for (const CellKey& cell : CellsOf(box)) {
      bins_[cell].push_back(i);
      touched.insert(cell);
    }
  }
  return touched;
}

void ShapeRaster::Remake(const std::set<CellKey>& cells, ShapePixels& pixels) {
  for (const CellKey& cell : cells) pixels.SetCell(cell, Paint(cell));
}

Canvas ShapeRaster::Paint(const CellKey& cell) const {
  const auto bin = bins_.find(cell);
  if (bin == bins_.end()) return {};
  std::vector<Polygon> here;
  here.reserve(bin->second.size());
  for (size_t i : bin->second) here.push_back(polygons_[i]);
  const Box box = CellBox(cell);
  Canvas pixels = FillCell(here, box, mosaic_ != nullptr ? 0xFFFFFFFFu : argb_);
  if (mosaic_ != nullptr && !pixels.Empty()) ApplyMosaic(pixels, box);
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
