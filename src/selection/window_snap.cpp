#include "selection/window_snap.h"

#include <cstdlib>

#include "app/state.h"

namespace rc {

namespace {

// A hand that presses and lets go moves the pointer a pixel or two.
constexpr int32_t kClickSlop = 2;

bool Holds(const Box& b, Point p) { return p.x >= b.x && p.y >= b.y && p.x - b.x < b.width && p.y - b.y < b.height; }

IntRect ToRect(const Box& b) { return {b.x, b.y, b.x + b.width, b.y + b.height}; }

}  // namespace

IntRect SnapRectAt(Point p) {
  const CaptureState& s = State();
  if (!s.Options.windowSnap) return {};
  const Box desktop{0, 0, s.Desktop.width, s.Desktop.height};
  if (!Holds(desktop, p)) return {};
  for (const Box& frame : s.WindowFrames) {
    if (frame.Empty() || !Holds(frame, p)) continue;
    const Box shown = IntersectBox(frame, desktop);
    if (!shown.Empty()) return ToRect(shown);
  }
  if (s.Monitors.empty()) return ToRect(desktop);
  return ToRect(IntersectBox(MonitorAt(s.Monitors, p).rect, desktop));
}

bool IsClick(Point press, Point release) {
  return std::abs(release.x - press.x) <= kClickSlop && std::abs(release.y - press.y) <= kClickSlop;
}

}  // namespace rc
