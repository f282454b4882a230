#include "toolbar/toolbar_layout.h"

#include <array>

#include "app/host.h"
#include "app/state.h"

namespace rc {

namespace {

constexpr int32_t kStripHeight = 24;
constexpr int32_t kButtonTop = 3;
constexpr int32_t kButtonBottom = 23;

struct ButtonColumns {
  int32_t first;
  int32_t last;
};

// Buttons 1-11 in index order; the first range holding a column wins, so
// column 219 belongs to the picture button, not the drop arrow.
constexpr std::array<ButtonColumns, 11> kButtons = {{
    {6, 28}, {32, 54}, {58, 80}, {84, 106}, {110, 132}, {144, 166},
    {170, 192}, {196, 219}, {220, 228}, {241, 262}, {267, 321},
}};

}  // namespace

bool ToolbarButtonAt(int32_t dx, int32_t dy, IntRect& highlight, int32_t& index) {
  if (dy < kButtonTop || dy > kButtonBottom) return false;
  for (size_t i = 0; i < kButtons.size(); ++i) {
    const ButtonColumns& b = kButtons[i];
    if (dx < b.first || dx > b.last) continue;
    index = static_cast<int32_t>(i) + 1;
    if (index == kToolbarDropArrow) {
      highlight = {219, kButtonTop, 228, kButtonBottom};
      return false;
    }
    highlight = {b.first, kButtonTop, b.last, kButtonBottom};
    return true;
  }
  return false;
}

bool HitTestToolbar(IntRect& highlight, int32_t& index) {
  const Point cursor = State().Cursor;
  const IntRect& bar = State().ToolbarRect;
  return ToolbarButtonAt(cursor.x - bar.left, cursor.y - bar.top, highlight, index);
}

IntRect PlaceToolbar(const IntRect& selection, int32_t screenHeight) {
  // 64-bit sums: a selection near the integer limits must not wrap round.
  const int64_t sb = selection.bottom;
  const int64_t st = selection.top;
  const int32_t left = selection.right - kToolbarCanvasWidth;
  IntRect bar;
  if (sb + kStripHeight + 10 <= screenHeight) {
    bar = {left, selection.bottom + 6, selection.right, selection.bottom + 6 + kToolbarCanvasHeight};
  } else if (st - kStripHeight - 8 > 0) {
    bar = {left, selection.top - kToolbarCanvasHeight - 4, selection.right, selection.top - 4};
  } else {
    bar = {left, selection.top + 5, selection.right, selection.top + 5 + kToolbarCanvasHeight};
  }
  if (bar.left < 5) {
    bar.right = bar.right - bar.left + 5;
    bar.left = 5;
  }
  return bar;
}

}  // namespace rc
