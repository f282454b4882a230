#include "win/box_coalescing.h"

namespace rc {

namespace {

int64_t Area(const Box& b) { return b.Empty() ? 0 : static_cast<int64_t>(b.width) * b.height; }

// The pixels the box round `a` and `b` adds to what they cover.
int64_t Waste(const Box& a, const Box& b) {
  return Area(UnionBox(a, b)) - Area(a) - Area(b) + Area(IntersectBox(a, b));
}

// Merges the first pair that qualifies; false when none does.
bool MergeOnePair(std::vector<Box>& boxes, int64_t slack) {
  for (size_t i = 0; i < boxes.size(); ++i) {
    for (size_t j = i + 1; j < boxes.size(); ++j) {
      if (Waste(boxes[i], boxes[j]) > slack) continue;
      boxes[i] = UnionBox(boxes[i], boxes[j]);
      boxes.erase(boxes.begin() + static_cast<std::ptrdiff_t>(j));
      return true;
    }
  }
  return false;
}

}  // namespace

void CoalesceBoxes(std::vector<Box>& boxes, int64_t slack) {
  std::erase_if(boxes, [](const Box& b) { return b.Empty(); });
  while (MergeOnePair(boxes, slack)) {
  }
}

}  // namespace rc
