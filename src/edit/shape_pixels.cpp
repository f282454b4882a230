#include "edit/shape_pixels.h"

#include <algorithm>
#include <atomic>

#include "gfx/blend.h"

namespace rc {

namespace {

int32_t FloorDiv(int32_t v, int32_t d) { return v >= 0 ? v / d : -((-v + d - 1) / d); }

bool AnyPixel(const Canvas& c) {
  const Pixel* p = c.Data();
  return std::any_of(p, p + static_cast<size_t>(c.Width()) * c.Height(), [](Pixel v) { return v != 0; });
}

}  // namespace

CellKey CellOf(int32_t x, int32_t y) { return {FloorDiv(x, kShapeCell), FloorDiv(y, kShapeCell)}; }

Box CellBox(const CellKey& cell) { return {cell.first * kShapeCell, cell.second * kShapeCell, kShapeCell, kShapeCell}; }

std::vector<CellKey> CellsOf(const Box& box) {
  std::vector<CellKey> cells;
  if (box.Empty()) return cells;
  const CellKey first = CellOf(box.x, box.y);
  const CellKey last = CellOf(box.Right() - 1, box.Bottom() - 1);
  for (int32_t r = first.second; r <= last.second; ++r)
    for (int32_t c = first.first; c <= last.first; ++c) cells.push_back({c, r});
  return cells;
}

uint64_t NewPixelStamp() {
  static std::atomic<uint64_t> next{1};
  return next++;
}

void ShapePixels::SetCell(const CellKey& cell, Canvas pixels) {
  if (pixels.Empty()) {
    pieces_.erase(cell);
    return;
  }
  pieces_[cell] = ShapePiece{CellBox(cell), std::make_shared<const Canvas>(std::move(pixels)), NewPixelStamp()};
}

void ShapePixels::SetWhole(const Box& where, const Canvas& pixels) {
  pieces_.clear();
  for (const CellKey& cell : CellsOf(where)) {
    const Box box = CellBox(cell);
    Canvas piece(kShapeCell, kShapeCell);
    StretchCopy(piece, {where.x - box.x, where.y - box.y, where.width, where.height}, pixels, pixels.Bounds());
    if (AnyPixel(piece)) SetCell(cell, std::move(piece));
  }
}

Box ShapePixels::Bounds() const {
  Box all;
  for (const auto& [cell, piece] : pieces_) all = UnionBox(all, piece.where);
  return all;
}

void ShapePixels::Render(Canvas& target, Point origin, const Box& clip) const {
  for (const auto& [cell, piece] : pieces_) {
    const Box part = IntersectBox(piece.where, clip);
    if (part.Empty()) continue;
    const Box at{piece.where.x - origin.x, piece.where.y - origin.y, piece.where.width, piece.where.height};
    const Box partAt{part.x - origin.x, part.y - origin.y, part.width, part.height};
    AlphaBlendCanvasClipped(target, at, *piece.pixels, piece.pixels->Bounds(), 255, true, partAt);
  }
}

Canvas FillCell(const std::vector<Polygon>& polygons, const Box& cell, uint32_t argb) {
  Canvas pixels(cell.width, cell.height);
  std::vector<Polygon> moved = polygons;
  for (Polygon& poly : moved) {
    for (PointD& p : poly) {
      p.x -= cell.x;
      p.y -= cell.y;
    }
  }
  FillPolygons(pixels, moved, FillRule::NonZero, argb);
  if (!AnyPixel(pixels)) pixels.Release();
  return pixels;
}

}  // namespace rc
