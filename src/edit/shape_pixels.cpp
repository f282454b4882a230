#include "edit/shape_pixels.h"

#include <algorithm>
#include <atomic>

#include "gfx/blend.h"

namespace rc {

namespace {

int32_t FloorDiv(int32_t v, int32_t d) { return v >= 0 ? v / d : -((-v + d - 1) / d); }

bool SamePixels(const Canvas& a, const Canvas& b) {
  return a.Width() == b.Width() && a.Height() == b.Height() &&
         std::equal(a.Data(), a.Data() + static_cast<size_t>(a.Width()) * a.Height(), b.Data());
}

}  // namespace

bool AnyPixel(const Canvas& c) {
  const Pixel* p = c.Data();
  return std::any_of(p, p + static_cast<size_t>(c.Width()) * c.Height(), [](Pixel v) { return v != 0; });
}

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
  const Box where = CellBox(cell);
  const Box ink = InkBounds(pixels);
  pieces_[cell] = ShapePiece{where, std::make_shared<const Canvas>(std::move(pixels)), NewPixelStamp(),
                             {where.x + ink.x, where.y + ink.y, ink.width, ink.height}};
}

// A cell whose pixels come out as they were keeps its piece and stamp, so
// a keystroke in a text box recomposes only the cells it changed.
void ShapePixels::SetWhole(const Box& where, const Canvas& pixels) {
  std::map<CellKey, ShapePiece> before = std::move(pieces_);
  pieces_.clear();
  for (const CellKey& cell : CellsOf(where)) {
    const Box box = CellBox(cell);
    Canvas piece(kShapeCell, kShapeCell);
    StretchCopy(piece, {where.x - box.x, where.y - box.y, where.width, where.height}, pixels, pixels.Bounds());
    if (!AnyPixel(piece)) continue;
    const auto kept = before.find(cell);
    if (kept != before.end() && SamePixels(*kept->second.pixels, piece)) pieces_.emplace(cell, kept->second);
    else SetCell(cell, std::move(piece));
  }
}

Box InkBounds(const Canvas& c) {
  int32_t left = c.Width(), right = -1, top = -1, bottom = -1;
  for (int32_t y = 0; y < c.Height(); ++y) {
    const Pixel* row = c.Row(y);
    int32_t first = 0, last = c.Width() - 1;
    while (first <= last && row[first] == 0) ++first;
    if (first > last) continue;
    while (row[last] == 0) --last;
    left = std::min(left, first), right = std::max(right, last);
    if (top < 0) top = y;
    bottom = y;
  }
  if (top < 0) return {};
  return {left, top, right - left + 1, bottom - top + 1};
}

Box ShapePixels::Bounds() const {
  Box all;
  for (const auto& [cell, piece] : pieces_) all = UnionBox(all, piece.where);
  return all;
}

void ShapePixels::Render(Canvas& target, Point origin, const Box& clip) const {
  for (const auto& [cell, piece] : pieces_) {
    // Outside its ink a piece leaves every pixel as it is.
    const Box part = IntersectBox(piece.ink, clip);
    if (part.Empty()) continue;
    const Box at{piece.where.x - origin.x, piece.where.y - origin.y, piece.where.width, piece.where.height};
    const Box partAt{part.x - origin.x, part.y - origin.y, part.width, part.height};
    AlphaBlendCanvasClipped(target, at, *piece.pixels, piece.pixels->Bounds(), 255, true, partAt);
  }
}

}  // namespace rc
