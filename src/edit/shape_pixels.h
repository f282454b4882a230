// A shape's pixels, kept as premultiplied pieces: one per 64-pixel cell of
// the overlay that the shape touches, so that a thin outline round a large
// selection costs little memory and a frame recomposes only the cells a
// shape changed. Each piece carries a stamp that is new whenever its pixels
// are, which is what the fast compositor's tile signatures are made of.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "gfx/canvas.h"
#include "gfx/raster.h"

namespace rc {

inline constexpr int32_t kShapeCell = 64;

// Pieces are shared, never changed: a frame's layer keeps the pieces it
// was made with while the shape goes on growing.
struct ShapePiece {
  Box where;  // in overlay coordinates
  std::shared_ptr<const Canvas> pixels;
  uint64_t stamp = 0;
  // The smallest box holding every pixel that is not transparent, in
  // overlay coordinates: what a frame must recompose when the piece comes
  // or goes, a thin outline's few columns rather than the whole cell.
  Box ink;
};

// A cell of the overlay's 64-pixel grid, as (column, row).
using CellKey = std::pair<int32_t, int32_t>;

CellKey CellOf(int32_t x, int32_t y);
Box CellBox(const CellKey& cell);
// The cells a box reaches.
std::vector<CellKey> CellsOf(const Box& box);

// A fresh stamp, never handed out before in this run.
uint64_t NewPixelStamp();

class ShapePixels {
 public:
  // Replaces the piece of `cell` (an empty canvas removes it).
  void SetCell(const CellKey& cell, Canvas pixels);
  // Replaces every piece with `pixels` laid at `where`, cut along cells.
  void SetWhole(const Box& where, const Canvas& pixels);
  void Clear() { pieces_.clear(); }

  const std::map<CellKey, ShapePiece>& Pieces() const { return pieces_; }
  bool Empty() const { return pieces_.empty(); }
  // The smallest box holding every piece.
  Box Bounds() const;

  // Lays every piece over `target`, whose (0, 0) is overlay point `origin`,
  // touching only pixels inside `clip` (overlay coordinates).
  void Render(Canvas& target, Point origin, const Box& clip) const;

 private:
  std::map<CellKey, ShapePiece> pieces_;
};

// Whether any pixel of `c` is not transparent black.
bool AnyPixel(const Canvas& c);
// The smallest box holding every pixel of `c` that is not transparent
// black; empty when there is none.
Box InkBounds(const Canvas& c);

}  // namespace rc
