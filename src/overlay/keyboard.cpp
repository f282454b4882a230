#include "overlay/keyboard.h"

#include <algorithm>

#include "app/host.h"
#include "app/state.h"
#include "magnifier/magnifier.h"
#include "output/overlay_notice.h"
#include "overlay/overlay_ops.h"

namespace rc {

namespace {

Point ArrowDirection(Key key) {
  switch (key) {
    case Key::Left: return {-1, 0};
    case Key::Right: return {1, 0};
    case Key::Up: return {0, -1};
    case Key::Down: return {0, 1};
    default: return {0, 0};
  }
}

int32_t Step(const Message& m) { return m.Has(kModShift) ? 10 : 1; }

// One edge moved by `d`: outwards it stops at the screen's edge (or where
// it already lies beyond it), inwards 2 pixels short of the opposite edge.
int32_t MoveLowEdge(int32_t low, int32_t high, int32_t d) {
  if (d < 0) return std::max(low + d, std::min(low, 0));
  return std::min(low + d, std::max(low, high - 2));
}

int32_t MoveHighEdge(int32_t low, int32_t high, int32_t d, int32_t limit) {
  if (d > 0) return std::min(high + d, std::max(high, limit));
  return std::max(high + d, std::min(high, low + 2));
}

// Along one axis, as a drag moves: stopped at the screen's edges, and a
// selection that does not lie on the screen stays where it is.
void Shift(int32_t& low, int32_t& high, int32_t d, int32_t limit) {
  const int32_t size = high - low;
  if (low < 0 || high > limit) return;
  low = std::clamp(low + d, 0, std::max(0, limit - size));
  high = low + size;
}

}  // namespace

bool IsArrow(Key key) { return key == Key::Left || key == Key::Right || key == Key::Up || key == Key::Down; }

bool MovePointerByKey(const Message& m) {
  if (!IsArrow(m.key)) return false;
  CaptureState& s = State();
  const Point d = ArrowDirection(m.key);
  const int32_t step = Step(m);
  const Point to{std::clamp(s.Cursor.x + d.x * step, 0, std::max(0, s.Desktop.width - 1)),
                 std::clamp(s.Cursor.y + d.y * step, 0, std::max(0, s.Desktop.height - 1))};
  s.Cursor = to;
  s.PendingPointerMoves.push_back(to);
  Host().MovePointer({to.x + s.Desktop.x, to.y + s.Desktop.y});
  return true;
}

bool NudgeSelectionByKey(const Message& m) {
  if (!IsArrow(m.key)) return false;
  IntRect& r = State().SelectionRect;
  const Size screen = Host().ScreenSize();
  const Point d = ArrowDirection(m.key);
  if (!m.Has(kModCtrl)) {
    Shift(r.left, r.right, d.x * Step(m), screen.width);
    Shift(r.top, r.bottom, d.y * Step(m), screen.height);
  } else if (m.Has(kModShift)) {
    if (d.x != 0) r.left = MoveLowEdge(r.left, r.right, d.x);
    if (d.y != 0) r.top = MoveLowEdge(r.top, r.bottom, d.y);
  } else {
    if (d.x != 0) r.right = MoveHighEdge(r.left, r.right, d.x, screen.width);
    if (d.y != 0) r.bottom = MoveHighEdge(r.top, r.bottom, d.y, screen.height);
  }
  return true;
}

void ToggleColourReadout() {
  CaptureState& s = State();
  s.HexReadout = s.HexReadout == 0 ? 1 : 0;
}

void CopyColourUnderCursor() {
  const CaptureState& s = State();
  const std::string text = ColourCopyText(CrossHairColour(s.Cursor), s.HexReadout != 0);
  if (Host().SetClipboardText(text)) EndCapture();
  ShowOverlayNotice(kNoticeClipboardBusy);
}

}  // namespace rc
