#include "edit/shape_scene.h"

#include "gfx/blend.h"

namespace rc {

ShapeScene::ShapeScene(std::vector<ShapePtr> shapes) : shapes_(std::move(shapes)) {
  for (const ShapePtr& shape : shapes_) {
    for (const auto& [cell, piece] : shape->pixels.Pieces()) {
      cells_[cell].push_back(&piece);
      bounds_ = UnionBox(bounds_, piece.where);
    }
  }
}

uint64_t ShapeScene::CellSignature(const Box& tile) const {
  const auto found = cells_.find(CellOf(tile.x, tile.y));
  if (found == cells_.end()) return 0;
  uint64_t sig = 0x5348415045530000ull;
  for (const ShapePiece* piece : found->second) sig = MixSignature(sig, piece->stamp);
  return sig | 1;
}

void ShapeScene::Render(Canvas& target, Point origin, const Box& clip) const {
  for (const CellKey& cell : CellsOf(IntersectBox(clip, bounds_))) {
    const auto found = cells_.find(cell);
    if (found == cells_.end()) continue;
    const Box part = IntersectBox(CellBox(cell), clip);
    const Box partAt{part.x - origin.x, part.y - origin.y, part.width, part.height};
    for (const ShapePiece* piece : found->second) {
      const Box at{piece->where.x - origin.x, piece->where.y - origin.y, piece->where.width, piece->where.height};
      AlphaBlendCanvasClipped(target, at, *piece->pixels, piece->pixels->Bounds(), 255, true, partAt);
    }
  }
}

// The compositor's tiles are the cells of the shapes' grid.
uint64_t ShapeSceneLayer::TileSignature(const Box& tile) const {
  const uint64_t cell = scene_->CellSignature(tile);
  if (cell == 0 || IntersectBox(clip_, tile).Empty()) return 0;
  return MixBox(cell, IntersectBox(clip_, tile)) | 1;
}

void ShapeSceneLayer::Render(Canvas& target, const Box& clip) const {
  scene_->Render(target, {0, 0}, IntersectBox(clip, clip_));
}

}  // namespace rc
