#include "edit/shape_scene.h"

#include "gfx/blend.h"

namespace rc {

ShapeScene::ShapeScene(std::vector<ShapePtr> shapes) : shapes_(std::move(shapes)) {
  for (const ShapePtr& shape : shapes_) {
    for (const auto& [cell, piece] : shape->pixels.Pieces()) {
      Cell& here = cells_[cell];
      here.pieces.push_back(&piece);
      here.ink = UnionBox(here.ink, piece.ink);
      bounds_ = UnionBox(bounds_, piece.where);
    }
  }
}

uint64_t ShapeScene::CellSignature(const Box& tile) const {
  const auto found = cells_.find(CellOf(tile.x, tile.y));
  if (found == cells_.end()) return 0;
  uint64_t sig = 0x5348415045530000ull;
  for (const ShapePiece* piece : found->second.pieces) sig = MixSignature(sig, piece->stamp);
  return sig | 1;
}

Box ShapeScene::CellInk(const Box& tile) const {
  const auto found = cells_.find(CellOf(tile.x, tile.y));
  return found == cells_.end() ? Box{} : found->second.ink;
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

// The compositor's tiles are the cells of the shapes' grid.
uint64_t ShapeSceneLayer::TileSignature(const Box& tile) const {
  const uint64_t cell = scene_->CellSignature(tile);
  if (cell == 0 || IntersectBox(clip_, tile).Empty()) return 0;
  return MixBox(cell, IntersectBox(clip_, tile)) | 1;
}

Box ShapeSceneLayer::TileReach(const Box& tile) const {
  return IntersectBox(IntersectBox(scene_->CellInk(tile), clip_), tile);
}

void ShapeSceneLayer::Render(Canvas& target, const Box& clip) const {
  scene_->Render(target, {0, 0}, IntersectBox(clip, clip_));
}

}  // namespace rc
