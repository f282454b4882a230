#include "toolbar/toolbar_layout.h"

#include <algorithm>
#include <array>
#include <limits>

#include "app/monitors.h"
#include "app/state.h"
#include "app/ui_scale.h"

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

IntRect Shifted(const IntRect& r, int32_t dx, int32_t dy) {
  return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
}

bool Holds(const Box& box, Point p) { return p.x >= box.x && p.x < box.Right() && p.y >= box.y && p.y < box.Bottom(); }

// `bar` moved onto `monitor` where it sticks out; the left and top edges
// win on a monitor smaller than the toolbar.
IntRect KeptOn(IntRect bar, const Box& monitor) {
  if (bar.right > monitor.Right()) bar = Shifted(bar, monitor.Right() - bar.right, 0);
  if (bar.left < monitor.x) bar = Shifted(bar, monitor.x - bar.left, 0);
  if (bar.bottom > monitor.Bottom()) bar = Shifted(bar, 0, monitor.Bottom() - bar.bottom);
  if (bar.top < monitor.y) bar = Shifted(bar, 0, monitor.y - bar.top);
  return bar;
}

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

Point ToolbarButtonCentre(int32_t index) {
  const ButtonColumns& b = kButtons[static_cast<size_t>(std::clamp(index, 1, 11) - 1)];
  return {(b.first + b.last) / 2, (kButtonTop + kButtonBottom) / 2};
}

bool HitTestToolbar(IntRect& highlight, int32_t& index) {
  const Point cursor = State().Cursor;
  const IntRect& bar = State().ToolbarRect;
  const float scale = State().ToolbarScale;
  return ToolbarButtonAt(UnscalePx(cursor.x - bar.left, scale), UnscalePx(cursor.y - bar.top, scale), highlight,
                         index);
}

Size ToolbarSize(float scale) { return {ScalePx(kToolbarCanvasWidth, scale), ScalePx(kToolbarCanvasHeight, scale)}; }

IntRect PlaceToolbar(const IntRect& selection, const Box& monitor, float scale) {
  const auto px = [scale](int32_t length) { return ScalePx(length, scale); };
  const Size size = ToolbarSize(scale);
  // 64-bit sums: a selection near the integer limits must not wrap round.
  const int64_t sb = selection.bottom;
  const int64_t st = selection.top;
  const int32_t left = selection.right - size.width;
  IntRect bar;
  if (sb + px(kStripHeight) + px(10) <= monitor.Bottom()) {
    bar = {left, selection.bottom + px(6), selection.right, selection.bottom + px(6) + size.height};
  } else if (st - px(kStripHeight) - px(8) > monitor.y) {
    bar = {left, selection.top - size.height - px(4), selection.right, selection.top - px(4)};
  } else {
    // A selection reaching up onto another monitor keeps the toolbar inside
    // it on this one.
    const int32_t top = st + px(5) < monitor.y ? monitor.y + px(5) : selection.top + px(5);
    bar = {left, top, selection.right, top + size.height};
  }
  if (bar.left < monitor.x + px(5)) bar = Shifted(bar, monitor.x + px(5) - bar.left, 0);
  if (!Holds(monitor, BottomRightPixel(selection))) bar = KeptOn(bar, monitor);
  return bar;
}

IntRect PlaceToolbar(const IntRect& selection, int32_t screenHeight, float scale) {
  return PlaceToolbar(selection, Box{0, 0, std::numeric_limits<int32_t>::max(), screenHeight}, scale);
}

}  // namespace rc
