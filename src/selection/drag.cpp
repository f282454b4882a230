#include "selection/drag.h"

#include <algorithm>

#include "app/state.h"
#include "overlay/frame.h"
#include "overlay/overlay_ops.h"

namespace rc {

namespace {

constexpr Point kUnset{-1, -1};

// The rectangle spanned by two points, normalised.
IntRect Spanned(Point a, Point b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// Widening goes outwards, to the left and upwards first, but never off the
// overlay (0 to `limit`): at an edge the selection grows inwards instead, so
// the picture never holds a column or row that is not on the screen.
void WidenAxis(int32_t& low, int32_t& high, int32_t limit) {
  if (high - low == 0) {
    --low;
    ++high;
  } else if (high - low == 1) {
    --low;
  } else {
    return;
  }
  if (low < 0) {
    high -= low;
    low = 0;
  } else if (limit > 0 && high > limit) {
    low -= high - limit;
    high = limit;
  }
}

// Moves the selection with the cursor, stopped at the desktop's edges (not
// a monitor's, so a selection can be carried from one monitor to the next).
// At an edge the grab point slides, so the selection follows again as soon
// as the cursor turns back.
void MoveStep(CaptureState& s, Point mouse) {
  IntRect& r = s.SelectionRect;
  if (s.DragOffset == kUnset && s.DragSize == kUnset) {
    s.DragOffset = {r.left - mouse.x, r.top - mouse.y};
    s.DragSize = {r.right - r.left, r.bottom - r.top};
  } else {
    const Size screen{s.Desktop.width, s.Desktop.height};
    const int32_t w = s.DragSize.x;
    const int32_t h = s.DragSize.y;
    if (r.left >= 0 && r.left + w <= screen.width && r.top >= 0 && r.top + h <= screen.height) {
      auto clamp = [](int32_t& origin, int32_t& offset, int32_t m, int32_t extent, int32_t limit) {
        const int32_t p = m + offset;
        if (p < 0 || p + extent > limit) {
          origin = p < 0 ? 0 : limit - extent;
          offset = origin - m;
        } else {
          origin = p;
        }
      };
      clamp(r.left, s.DragOffset.x, mouse.x, w, screen.width);
      clamp(r.top, s.DragOffset.y, mouse.y, h, screen.height);
    }
  }
  r.right = r.left + s.DragSize.x;
  r.bottom = r.top + s.DragSize.y;
  RepaintDimmedScreen();
  DrawSelection(s.SelectionRect);
}

void EdgeResizeStep(CaptureState& s, Point mouse) {
  IntRect& r = s.SelectionRect;
  if (s.DragSize == kUnset) {
    s.DragAnchor = {r.left, r.top};
    s.DragSize = {r.right - r.left, r.bottom - r.top};
  } else {
    Point& a = s.DragAnchor;
    Point& size = s.DragSize;
    switch (s.AdjustZone) {
      case HitZone::Left:
        size.x = (a.x + size.x) - mouse.x;
        a.x = mouse.x;
        break;
      case HitZone::Right: size.x = mouse.x - a.x; break;
      case HitZone::Top:
        size.y = (a.y + size.y) - mouse.y;
        a.y = mouse.y;
        break;
      case HitZone::Bottom: size.y = mouse.y - a.y; break;
      default: break;
    }
  }
  const Point a = s.DragAnchor;
  r = Spanned(a, {a.x + s.DragSize.x, a.y + s.DragSize.y});
  WidenDegenerateSelection();
  RepaintDimmedScreen();
  DrawSelection(s.SelectionRect);
}

Point OppositeCorner(HitZone zone, const IntRect& r) {
  switch (zone) {
    case HitZone::TopLeft: return {r.right, r.bottom};
    case HitZone::TopRight: return {r.left, r.bottom};
    case HitZone::BottomLeft: return {r.right, r.top};
    default: return {r.left, r.top};
  }
}

void CornerResizeStep(CaptureState& s, Point mouse) {
  if (s.DragAnchor == kUnset) {
    s.DragAnchor = OppositeCorner(s.AdjustZone, s.SelectionRect);
    return;
  }
  const IntRect spanned = Spanned(s.DragAnchor, mouse);
  s.SelectionRect = spanned;
  WidenDegenerateSelection();
  RepaintDimmedScreen();
  DrawSelection(spanned);
}

}  // namespace

void WidenDegenerateSelection() {
  CaptureState& s = State();
  const Canvas& overlay = s.SnapshotCanvas.CanvasDC();
  WidenAxis(s.SelectionRect.left, s.SelectionRect.right, overlay.Width());
  WidenAxis(s.SelectionRect.top, s.SelectionRect.bottom, overlay.Height());
}

void TrackRubberBand() {
  CaptureState& s = State();
  const Point mouse = State().Cursor;
  RepaintDimmedScreen();
  const IntRect spanned = Spanned(s.DragAnchor, mouse);
  s.SelectionRect = spanned;
  WidenDegenerateSelection();
  DrawSelection(spanned);
}

void TrackMoveOrResize() {
  CaptureState& s = State();
  const Point mouse = State().Cursor;
  if (s.CaptureMode == CaptureMode::Drag) {
    MoveStep(s, mouse);
    return;
  }
  switch (s.AdjustZone) {
    case HitZone::Left:
    case HitZone::Right:
    case HitZone::Top:
    case HitZone::Bottom: EdgeResizeStep(s, mouse); break;
    case HitZone::TopLeft:
    case HitZone::TopRight:
    case HitZone::BottomLeft:
    case HitZone::BottomRight: CornerResizeStep(s, mouse); break;
    default: break;
  }
}

void ResetDragState() {
  CaptureState& s = State();
  s.LeftButtonDown = 0;
  s.DragInProgress = 0;
  s.DragOffset = kUnset;
  s.DragSize = kUnset;
  s.DragAnchor = kUnset;
}

}  // namespace rc
