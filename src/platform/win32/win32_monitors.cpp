#include "platform/win32/win32_monitors.h"

#include "platform/win32/win32_dpi.h"

namespace rc {

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(monitor, &info)) {
    reinterpret_cast<std::vector<Monitor>*>(list)->push_back(MonitorFromInfo(info, MonitorUiScale(monitor)));
  }
  return TRUE;
}

}  // namespace

Box BoxFromRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

Box VirtualScreenBox() {
  return {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
          GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

Monitor MonitorFromInfo(const MONITORINFO& info, float scale) {
  return Monitor{BoxFromRect(info.rcMonitor), scale, (info.dwFlags & MONITORINFOF_PRIMARY) != 0};
}

std::vector<Monitor> DisplayMonitors() {
  std::vector<Monitor> monitors;
  EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  return monitors;
}

}  // namespace rc
