#include "selection/hit_test.h"

#include "app/host.h"
#include "app/overlay_cursor.h"
#include "app/state.h"
#include "edit/edit_tools.h"

namespace rc {

namespace {

bool Within2(int32_t coordinate, int32_t value) {
  return value - 2 <= coordinate && coordinate <= value + 2;
}

bool StrictlyInside(const IntRect& r, int32_t x, int32_t y) {
  return r.left < x && x < r.right && r.top < y && y < r.bottom;
}

HitZone SelectionZone(const IntRect& s, int32_t x, int32_t y) {
  if (x < s.left - 2 || x > s.right + 2 || y < s.top - 2 || y > s.bottom + 2) return HitZone::Outside;
  if (Within2(x, s.left)) {
    if (Within2(y, s.top)) return HitZone::TopLeft;
    return Within2(y, s.bottom) ? HitZone::BottomLeft : HitZone::Left;
  }
  if (Within2(x, s.right)) {
    if (Within2(y, s.top)) return HitZone::TopRight;
    return Within2(y, s.bottom) ? HitZone::BottomRight : HitZone::Right;
  }
  if (Within2(y, s.bottom)) return HitZone::Bottom;
  if (Within2(y, s.top)) return HitZone::Top;
  return HitZone::Inside;
}

MousePointer PointerFor(HitZone zone) {
  MousePointer drawing;
  switch (zone) {
    case HitZone::Inside:
      return ToolPointer(drawing) ? drawing : MousePointer::Standard(StandardCursor::SizeAll);
    case HitZone::Top:
    case HitZone::Bottom: return MousePointer::Standard(StandardCursor::SizeNS);
    case HitZone::Left:
    case HitZone::Right: return MousePointer::Standard(StandardCursor::SizeWE);
    case HitZone::TopLeft:
    case HitZone::BottomRight: return MousePointer::Standard(StandardCursor::SizeNWSE);
    case HitZone::TopRight:
    case HitZone::BottomLeft: return MousePointer::Standard(StandardCursor::SizeNESW);
    case HitZone::Toolbar:
    case HitZone::Menu: return MousePointer::Standard(StandardCursor::Arrow);
    default: return OverlayCursor();
  }
}

}  // namespace

void HitTestZones(int32_t x, int32_t y) {
  CaptureState& s = State();
  if (s.DragInProgress == 1 || s.SelectionComplete == 0) return;
  if (s.LastHitPoint == Point{x, y}) return;
  HitZone zone = SelectionZone(s.SelectionRect, x, y);
  // The menu beats the toolbar, and both beat every selection zone.
  // The options bar beside the toolbar belongs to it.
  if (StrictlyInside(s.ToolbarRect, x, y) || StrictlyInside(s.Edit.OptionsRect, x, y)) zone = HitZone::Toolbar;
  if (StrictlyInside(s.MenuRect, x, y)) zone = HitZone::Menu;
  s.HitZone = zone;
  Host().SetMousePointer(PointerFor(zone));
  s.LastHitPoint = {x, y};
}

void UpdateModeFromCursor() {
  const Point cursor = State().Cursor;
  HitTestZones(cursor.x, cursor.y);
  CaptureState& s = State();
  if (s.DragInProgress == 1) return;
  if (s.SelectionComplete == 0) {
    s.CaptureMode = CaptureMode::Draw;
  } else if (s.HitZone == HitZone::Inside) {
    s.CaptureMode = CaptureMode::Drag;
  } else if (IsAdjustZone(s.HitZone)) {
    s.AdjustZone = s.HitZone;
    s.CaptureMode = CaptureMode::Adjust;
  } else {
    s.CaptureMode = CaptureMode::None;
    s.AdjustZone = HitZone::None;
  }
}

}  // namespace rc
