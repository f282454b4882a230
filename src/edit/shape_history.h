// The finished shapes in the order they were drawn, with what undo took
// back kept for redo until a new shape is drawn.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "edit/shape.h"
#include "edit/shape_scene.h"

namespace rc {

class ShapeHistory {
 public:
  // A new shape; whatever could be redone is forgotten.
  void Add(ShapePtr shape);
  // Returns false when there is nothing to take back or bring back.
  bool Undo();
  bool Redo();
  void Clear();

  const std::vector<ShapePtr>& Shapes() const { return shapes_; }
  size_t RedoCount() const { return undone_.size(); }
  // The shapes as one scene, made again only after a change.
  std::shared_ptr<const ShapeScene> Scene();

 private:
  std::vector<ShapePtr> shapes_;
  std::vector<ShapePtr> undone_;
  std::shared_ptr<const ShapeScene> scene_;
};

}  // namespace rc
