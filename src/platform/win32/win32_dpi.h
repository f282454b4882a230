// Per-monitor DPI awareness, so that screen copies are the real pixels and
// not a scaled-down picture of them.
#pragma once

#include <windows.h>

namespace rc {

// Call before any window exists. Uses the newest mechanism the system has.
void MakeProcessDpiAware();

// The UI scale of a monitor: its effective DPI (GetDpiForMonitor, Windows
// 8.1 on) over 96, else the system's DPI over 96.
float MonitorUiScale(HMONITOR monitor);

}  // namespace rc
