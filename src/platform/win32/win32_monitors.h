// The virtual screen and the monitors in it.
#pragma once

#include <windows.h>

#include <vector>

#include "app/monitors.h"

namespace rc {

// A RECT as an origin and a size.
Box BoxFromRect(const RECT& r);

// The virtual screen: the rectangle holding every monitor, in screen
// coordinates, whose origin lies left of or above the primary monitor's
// (0, 0) when a monitor is placed there.
Box VirtualScreenBox();

// A monitor as GetMonitorInfo describes it, with the scale it asks for.
Monitor MonitorFromInfo(const MONITORINFO& info, float scale);

// Every monitor of the desktop, in the order the system lists them.
std::vector<Monitor> DisplayMonitors();

}  // namespace rc
