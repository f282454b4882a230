// The monitors of the desktop as the overlay sees them: each piece of UI is
// placed on, and drawn at the scale of, the monitor it belongs to.
#pragma once

#include <vector>

#include "gfx/geometry.h"

namespace rc {

// One monitor: its rectangle in physical pixels and its UI scale (1 = 96 dpi).
struct Monitor {
  Box rect;
  float scale = 1.0f;
  bool primary = false;
  friend bool operator==(const Monitor&, const Monitor&) = default;
};

// The monitor that holds `p`, else the one nearest to it. `monitors` must
// not be empty.
const Monitor& MonitorAt(const std::vector<Monitor>& monitors, Point p);

// The UI scale of the monitor at `p` (MonitorAt); 1 when there are none.
float ScaleAt(const std::vector<Monitor>& monitors, Point p);

// `rect`'s bottom-right pixel; the top-left one of an empty rectangle.
Point BottomRightPixel(const IntRect& rect);

// The monitor that holds `rect`'s bottom-right pixel, else the one nearest
// to it: the toolbar and notices of a selection go there.
const Monitor& MonitorOfCorner(const std::vector<Monitor>& monitors, const IntRect& rect);

// `monitors` moved by (-origin.x, -origin.y): from desktop to overlay
// coordinates, whose (0, 0) is the desktop's top-left corner.
std::vector<Monitor> ShiftedMonitors(std::vector<Monitor> monitors, Point origin);

// What a host reports, made safe to place UI on: each monitor cut to the
// desktop, those left empty dropped, and the whole desktop as one primary
// monitor when none remains.
std::vector<Monitor> MonitorsOnDesktop(std::vector<Monitor> monitors, const Box& desktop);

// The parts of `desktop` that no monitor shows, as boxes that do not overlap.
std::vector<Box> UncoveredAreas(const Box& desktop, const std::vector<Monitor>& monitors);

}  // namespace rc
