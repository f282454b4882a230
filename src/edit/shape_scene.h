// Shapes laid over the capture, clipped to the selection: what the overlay
// shows inside it and what the output burns in. As a layer of the fast
// compositor, a tile's signature is made of the stamps of the pieces in
// it, so only the tiles a shape changed are recomposed.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "edit/shape.h"
#include "win/scene_layer.h"

namespace rc {

class ShapeScene {
 public:
  explicit ShapeScene(std::vector<ShapePtr> shapes);

  bool Empty() const { return cells_.empty(); }
  Box Bounds() const { return bounds_; }
  // 0 when no shape has pixels in the cell of `tile`.
  uint64_t CellSignature(const Box& tile) const;
  // The part of the cell of `tile` that the shapes' pixels reach.
  Box CellInk(const Box& tile) const;
  // Lays the shapes over `target`, whose (0, 0) is overlay point `origin`,
  // touching only pixels inside `clip` (overlay coordinates).
  void Render(Canvas& target, Point origin, const Box& clip) const;

 private:
  std::vector<ShapePtr> shapes_;
  struct Cell {
    std::vector<const ShapePiece*> pieces;  // in drawing order
    Box ink;
  };
  std::map<CellKey, Cell> cells_;
  Box bounds_;
};

class ShapeSceneLayer : public SceneLayer {
 public:
  ShapeSceneLayer(std::shared_ptr<const ShapeScene> scene, const Box& selection)
      : scene_(std::move(scene)), clip_(selection) {}
  Box Bounds() const override { return IntersectBox(scene_->Bounds(), clip_); }
  uint64_t TileSignature(const Box& tile) const override;
  Box TileReach(const Box& tile) const override;
  void Render(Canvas& target, const Box& clip) const override;

 private:
  std::shared_ptr<const ShapeScene> scene_;
  Box clip_;
};

}  // namespace rc
