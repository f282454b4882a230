#include "edit/shape_history.h"

namespace rc {

void ShapeHistory::Add(ShapePtr shape) {
  shapes_.push_back(std::move(shape));
  undone_.clear();
  scene_.reset();
}

bool ShapeHistory::Undo() {
  if (shapes_.empty()) return false;
  undone_.push_back(std::move(shapes_.back()));
  shapes_.pop_back();
  scene_.reset();
  return true;
}

bool ShapeHistory::Redo() {
  if (undone_.empty()) return false;
  shapes_.push_back(std::move(undone_.back()));
  undone_.pop_back();
  scene_.reset();
  return true;
}

void ShapeHistory::Clear() {
  shapes_.clear();
  undone_.clear();
  scene_.reset();
}

std::shared_ptr<const ShapeScene> ShapeHistory::Scene() {
  if (!scene_) scene_ = std::make_shared<const ShapeScene>(shapes_);
  return scene_;
}

}  // namespace rc
