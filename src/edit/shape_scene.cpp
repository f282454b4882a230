#include "edit/shape_scene.h"

#include "gfx/blend.h"

namespace rc {

ShapeScene::ShapeScene(std::vector<ShapePtr> shapes) : shapes_(std::move(shapes)), stamp_(NewPixelStamp()) {
  for (const ShapePtr& shape : shapes_) {
    for (const auto& [cell, piece] : shape->pixels.Pieces()) {
      Cell& here = cells_[cell];
      here.pieces.push_back(&piece);
      here.ink = UnionBox(here.ink, piece.ink);
      bounds_ = UnionBox(bounds_, piece.where);
    }
  }
}

const ShapeScene::Cell* ShapeScene::CellAt(const CellKey& cell) const {
  const auto found = cells_.find(cell);
  return found == cells_.end() ? nullptr : &found->second;
}

void ShapeScene::Render(Canvas& target, Point origin, const Box& clip) const {
  for (const CellKey& cell : CellsOf(IntersectBox(clip, bounds_))) {
    const auto found = cells_.find(cell);
    if (found == cells_.end()) continue;
    // Outside the ink the pieces leave every pixel as it is.
    const Box part = IntersectBox(found->second.ink, clip);
    if (part.Empty()) continue;
    const Box partAt{part.x - origin.x, part.y - origin.y, part.width, part.height};
    for (const ShapePiece* piece : found->second.pieces) {
      const Box at{piece->where.x - origin.x, piece->where.y - origin.y, piece->where.width, piece->where.height};
      AlphaBlendCanvasClipped(target, at, *piece->pixels, piece->pixels->Bounds(), 255, true, partAt);
    }
  }
}

}  // namespace rc
