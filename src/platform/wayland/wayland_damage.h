// The areas of one output that changed: a few boxes, merged into their
// union once there are too many to be worth keeping apart.
#pragma once

#include <vector>

#include "gfx/geometry.h"

namespace rc {

class DamageList {
 public:
  static constexpr size_t kMaxBoxes = 8;

  void Add(const Box& box) {
    if (box.Empty()) return;
    if (boxes_.size() < kMaxBoxes) {
      boxes_.push_back(box);
      return;
    }
    Box all = box;
    for (const Box& b : boxes_) all = UnionBox(all, b);
    boxes_.assign(1, all);
  }
  void Add(const DamageList& other) {
    for (const Box& b : other.boxes_) Add(b);
  }
  void Clear() { boxes_.clear(); }
  bool Empty() const { return boxes_.empty(); }
  const std::vector<Box>& Boxes() const { return boxes_; }

 private:
  std::vector<Box> boxes_;
};

}  // namespace rc
