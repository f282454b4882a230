// Shapes laid over the capture, clipped to the selection: what the overlay
// shows inside it and what the output burns in. The pieces are kept cell by
// cell in drawing order, which is how the fast compositor's layer of them
// signs and recomposes only the tiles a shape changed.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "edit/shape.h"

namespace rc {

class ShapeScene {
 public:
  struct Cell {
    std::vector<const ShapePiece*> pieces;  // in drawing order
    Box ink;                                // what the pieces' pixels reach
  };

  explicit ShapeScene(std::vector<ShapePtr> shapes);

  bool Empty() const { return cells_.empty(); }
  Box Bounds() const { return bounds_; }
  // Never the same for two scenes made in this run.
  uint64_t Stamp() const { return stamp_; }
  // Null when no shape has pixels in `cell`.
  const Cell* CellAt(const CellKey& cell) const;
  const std::map<CellKey, Cell>& Cells() const { return cells_; }
  // Lays the shapes over `target`, whose (0, 0) is overlay point `origin`,
  // touching only pixels inside `clip` (overlay coordinates).
  void Render(Canvas& target, Point origin, const Box& clip) const;

 private:
  std::vector<ShapePtr> shapes_;
  std::map<CellKey, Cell> cells_;
  Box bounds_;
  uint64_t stamp_;
};

}  // namespace rc
