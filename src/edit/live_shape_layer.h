// The shape being drawn (or the open text box) as a layer of the fast
// compositor: a tile's signature is the stamp of the shape's piece in it,
// so a stroke that grows recomposes only the cells its new part touched.
// The layer keeps the pieces the shape had when the frame was made: the
// compositor compares it with the next frame's layer after the shape
// changed.
#pragma once

#include <memory>

#include "edit/shape.h"
#include "win/scene_layer.h"

namespace rc {

class LiveShapeLayer : public SceneLayer {
 public:
  LiveShapeLayer(const Shape& shape, const Box& selection)
      : pixels_(shape.pixels), bounds_(IntersectBox(pixels_.Bounds(), selection)), clip_(selection) {}
  Box Bounds() const override { return bounds_; }
  uint64_t TileSignature(const Box& tile) const override;
  Box TileReach(const Box& tile) const override;
  void Render(Canvas& target, const Box& clip) const override;

 private:
  ShapePixels pixels_;
  Box bounds_;
  Box clip_;
};

}  // namespace rc
