#include "edit/shape_stack_layer.h"

namespace rc {

namespace {
constexpr uint64_t kStackSeed = 0x5348415045530000ull;
}

ShapeStackLayer::ShapeStackLayer(std::shared_ptr<const ShapeScene> finished, std::vector<ShapePixels> open,
                                 const Box& selection)
    : finished_(std::move(finished)), open_(std::move(open)), clip_(selection) {
  Box all = finished_ ? finished_->Bounds() : Box{};
  for (const ShapePixels& pixels : open_) all = UnionBox(all, pixels.Bounds());
  bounds_ = IntersectBox(all, clip_);
}

// Bottom to top: the finished shapes' pieces, then the open ones'.
template <class Visit>
void ShapeStackLayer::ForEachPiece(const CellKey& cell, Visit visit) const {
  if (const ShapeScene::Cell* here = finished_ ? finished_->CellAt(cell) : nullptr) {
    for (const ShapePiece* piece : here->pieces) visit(*piece);
  }
  for (const ShapePixels& pixels : open_) {
    const auto found = pixels.Pieces().find(cell);
    if (found != pixels.Pieces().end()) visit(found->second);
  }
}

// The compositor's tiles are the cells of the shapes' grid.
uint64_t ShapeStackLayer::TileSignature(const Box& tile) const {
  const Box area = IntersectBox(clip_, tile);
  if (area.Empty()) return 0;
  uint64_t sig = kStackSeed;
  bool any = false;
  ForEachPiece(CellOf(tile.x, tile.y), [&](const ShapePiece& piece) {
    sig = MixSignature(sig, piece.stamp);
    any = true;
  });
  return any ? MixBox(sig, area) | 1 : 0;
}

Box ShapeStackLayer::TileReach(const Box& tile) const {
  Box ink;
  ForEachPiece(CellOf(tile.x, tile.y), [&](const ShapePiece& piece) { ink = UnionBox(ink, piece.ink); });
  return IntersectBox(IntersectBox(ink, clip_), tile);
}

std::vector<Box> ShapeStackLayer::Footprint() const {
  std::vector<Box> inks;
  const auto add = [&](const Box& ink) {
    const Box part = IntersectBox(ink, clip_);
    if (!part.Empty()) inks.push_back(part);
  };
  if (finished_) {
    for (const auto& [cell, here] : finished_->Cells()) add(here.ink);
  }
  for (const ShapePixels& pixels : open_) {
    for (const auto& [cell, piece] : pixels.Pieces()) add(piece.ink);
  }
  return inks;
}

// The finished shapes never change once made, and an open shape's pieces
// carry a stamp that is new whenever their pixels are.
uint64_t ShapeStackLayer::Signature() const {
  uint64_t sig = MixSignature(MixBox(kStackSeed, clip_), finished_ ? finished_->Stamp() : 0);
  for (const ShapePixels& pixels : open_) {
    sig = MixSignature(sig, pixels.Pieces().size());
    for (const auto& [cell, piece] : pixels.Pieces()) {
      sig = MixSignature(MixSignature(sig, piece.stamp), MixBox(0, piece.where));
    }
  }
  return sig | 1;
}

// Pieces of different cells never overlap, so laying the finished shapes
// and then each open one gives what laying each cell's pieces in turn does.
void ShapeStackLayer::Render(Canvas& target, const Box& clip) const {
  const Box area = IntersectBox(clip, clip_);
  if (area.Empty()) return;
  if (finished_) finished_->Render(target, {0, 0}, area);
  for (const ShapePixels& pixels : open_) pixels.Render(target, {0, 0}, area);
}

}  // namespace rc
