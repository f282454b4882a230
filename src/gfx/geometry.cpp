#include "gfx/geometry.h"

#include <algorithm>

namespace rc {

Box UnionBox(const Box& a, const Box& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  const int32_t left = std::min(a.x, b.x);
  const int32_t top = std::min(a.y, b.y);
  const int32_t right = std::max(a.Right(), b.Right());
  const int32_t bottom = std::max(a.Bottom(), b.Bottom());
  return {left, top, right - left, bottom - top};
}

Box IntersectBox(const Box& a, const Box& b) {
  const int32_t left = std::max(a.x, b.x);
  const int32_t top = std::max(a.y, b.y);
  const int32_t right = std::min(a.Right(), b.Right());
  const int32_t bottom = std::min(a.Bottom(), b.Bottom());
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

}  // namespace rc
