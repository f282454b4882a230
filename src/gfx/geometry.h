// Plain geometry records shared by every layer.
#pragma once

#include <algorithm>
#include <cstdint>

namespace rc {

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Size {
  int32_t width = 0;
  int32_t height = 0;
  friend bool operator==(const Size&, const Size&) = default;
};

// Left, top, right, bottom in screen pixels; all zero means "not shown".
struct IntRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsZero() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool HasZeroField() const { return left == 0 || top == 0 || right == 0 || bottom == 0; }
  void Clear() { left = top = right = bottom = 0; }
  friend bool operator==(const IntRect&, const IntRect&) = default;
};

// An origin and a size, the form in which blends and copies name their areas.
struct Box {
  int32_t x = 0;
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;

  bool Empty() const { return width <= 0 || height <= 0; }
  int32_t Right() const { return x + width; }
  int32_t Bottom() const { return y + height; }
  friend bool operator==(const Box&, const Box&) = default;
};

struct PointF {
  float x = 0;
  float y = 0;
};

// Four 32-bit floats: a text layout rectangle.
struct RectF {
  float x = 0;
  float y = 0;
  float width = 0;
  float height = 0;
};

// Both are inline: the compositor calls them for every tile on every frame.
// Smallest box holding both; an empty box contributes nothing.
inline Box UnionBox(const Box& a, const Box& b) {
  if (a.Empty()) return b;
  if (b.Empty()) return a;
  const int32_t left = std::min(a.x, b.x);
  const int32_t top = std::min(a.y, b.y);
  return {left, top, std::max(a.Right(), b.Right()) - left, std::max(a.Bottom(), b.Bottom()) - top};
}

// The part of a inside b (empty when they do not meet).
inline Box IntersectBox(const Box& a, const Box& b) {
  const int32_t left = std::max(a.x, b.x);
  const int32_t top = std::max(a.y, b.y);
  const int32_t right = std::min(a.Right(), b.Right());
  const int32_t bottom = std::min(a.Bottom(), b.Bottom());
  if (right <= left || bottom <= top) return {};
  return {left, top, right - left, bottom - top};
}

}  // namespace rc
