#include "toolbar/menu_layout.h"

#include <array>

#include "app/state.h"
#include "app/ui_scale.h"

namespace rc {

namespace {

constexpr int32_t kItemLeft = 2;
constexpr int32_t kItemRight = 153;
constexpr int32_t kItemHeight = 22;

// The top of each row's range, items 1-11. Neighbouring rows share their
// boundary line and the earlier row wins it; the separator bands (135-137
// and 205-207) belong to no row.
constexpr std::array<int32_t, 11> kItemTops = {2, 24, 46, 68, 90, 112, 138, 160, 182, 208, 230};

}  // namespace

bool MenuItemAt(int32_t dx, int32_t dy, IntRect& highlight, int32_t& index) {
  if (dx < kItemLeft || dx > kItemRight) return false;
  for (size_t i = 0; i < kItemTops.size(); ++i) {
    const int32_t top = kItemTops[i];
    if (dy < top || dy > top + kItemHeight) continue;
    highlight = {kItemLeft, top, kItemRight, top + kItemHeight};
    index = static_cast<int32_t>(i) + 1;
    return true;
  }
  return false;
}

bool HitTestMenu(IntRect& highlight, int32_t& index) {
  const Point cursor = State().Cursor;
  const IntRect& menu = State().MenuRect;
  const float scale = State().MenuScale;
  return MenuItemAt(UnscalePx(cursor.x - menu.left, scale), UnscalePx(cursor.y - menu.top, scale), highlight, index);
}

Size MenuSize(float scale) { return {ScalePx(kMenuCanvasWidth, scale), ScalePx(kMenuCanvasHeight, scale)}; }

Point MenuOrigin(Point cursor, const Box& monitor, float scale) {
  const auto px = [scale](int32_t length) { return ScalePx(length, scale); };
  // 64-bit sums so that no cursor position can wrap the comparison.
  const int64_t mx = cursor.x;
  const int64_t my = cursor.y;
  const int32_t x = mx + px(159) > int64_t{monitor.Right()} - px(10) ? cursor.x - px(159) : cursor.x + px(4);
  // The test uses 260 but the shift 258: a menu opened upward ends 2 px
  // above the cursor.
  const int32_t y = my + px(260) > int64_t{monitor.Bottom()} - px(10) ? cursor.y - px(258) : cursor.y + px(4);
  return {x, y};
}

Point MenuOrigin(Point cursor, Size screen, float scale) {
  return MenuOrigin(cursor, Box{0, 0, screen.width, screen.height}, scale);
}

}  // namespace rc
