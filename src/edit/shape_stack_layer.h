// Every shape as one layer of the fast compositor: the finished ones and,
// over them, the shape being drawn or the open text box. A tile's signature
// folds the stamps of the pieces in it bottom to top, the same whether a
// shape is still being drawn or has just been finished, so releasing the
// button recomposes nothing; a move recomposes only the cells whose pieces
// changed, and in them only what the pieces' ink reaches.
#pragma once

#include <memory>
#include <vector>

#include "edit/shape_scene.h"
#include "win/scene_layer.h"

namespace rc {

class ShapeStackLayer : public SceneLayer {
 public:
  // `finished` may be null. The open shapes' pieces are kept as they are
  // now: the compositor compares this frame's layer with the next one's
  // after they changed.
  ShapeStackLayer(std::shared_ptr<const ShapeScene> finished, std::vector<ShapePixels> open, const Box& selection);

  Box Bounds() const override { return bounds_; }
  uint64_t TileSignature(const Box& tile) const override;
  Box TileReach(const Box& tile) const override;
  std::vector<Box> Footprint() const override;
  uint64_t Signature() const override;
  void Render(Canvas& target, const Box& clip) const override;

 private:
  template <class Visit>
  void ForEachPiece(const CellKey& cell, Visit visit) const;

  std::shared_ptr<const ShapeScene> finished_;
  std::vector<ShapePixels> open_;
  Box clip_;
  Box bounds_;
};

}  // namespace rc
