#include "edit/live_shape_layer.h"

namespace rc {

uint64_t LiveShapeLayer::TileSignature(const Box& tile) const {
  const auto& pieces = pixels_.Pieces();
  const auto found = pieces.find(CellOf(tile.x, tile.y));
  if (found == pieces.end() || IntersectBox(clip_, tile).Empty()) return 0;
  return MixBox(MixSignature(0x4C495645ull, found->second.stamp), IntersectBox(clip_, tile)) | 1;
}

Box LiveShapeLayer::TileReach(const Box& tile) const {
  const auto& pieces = pixels_.Pieces();
  const auto found = pieces.find(CellOf(tile.x, tile.y));
  if (found == pieces.end()) return {};
  return IntersectBox(IntersectBox(found->second.ink, clip_), tile);
}

void LiveShapeLayer::Render(Canvas& target, const Box& clip) const {
  pixels_.Render(target, {0, 0}, IntersectBox(clip, clip_));
}

}  // namespace rc
