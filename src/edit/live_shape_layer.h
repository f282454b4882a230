// The shape being drawn (or the open text box) as a layer of the fast
// compositor: a tile's signature is the stamp of the shape's piece in it,
// read when asked, so a stroke that grows recomposes only the cells its new
// part touched.
#pragma once

#include <memory>

#include "edit/shape.h"
#include "win/scene_layer.h"

namespace rc {

class LiveShapeLayer : public SceneLayer {
 public:
  LiveShapeLayer(std::shared_ptr<const Shape> shape, const Box& selection)
      : shape_(std::move(shape)), clip_(selection) {}
  Box Bounds() const override { return IntersectBox(shape_->pixels.Bounds(), clip_); }
  uint64_t TileSignature(const Box& tile) const override;
  void Render(Canvas& target, const Box& clip) const override;

 private:
  std::shared_ptr<const Shape> shape_;
  Box clip_;
};

}  // namespace rc
