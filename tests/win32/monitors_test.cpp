// The Windows desktop: the virtual screen, its monitors, and a snapshot
// that covers all of it (run under Wine).
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/win32/win32_host.h"
#include "platform/win32/win32_monitors.h"

namespace rc {
namespace {

TEST(Win32Monitors, MonitorInfoBecomesAMonitorLeftOfAndAboveTheOrigin) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  info.rcMonitor = {-1920, -200, 0, 880};
  info.rcWork = {-1920, -200, 0, 840};
  EXPECT_EQ(MonitorFromInfo(info, 1.5f), (Monitor{{-1920, -200, 1920, 1080}, 1.5f, false}));
  info.rcMonitor = {0, 0, 3840, 2160};
  info.dwFlags = MONITORINFOF_PRIMARY;
  EXPECT_EQ(MonitorFromInfo(info, 2.0f), (Monitor{{0, 0, 3840, 2160}, 2.0f, true}));
}

TEST(Win32Monitors, TheVirtualScreenHoldsEveryMonitorAndThePrimaryStartsAtTheOrigin) {
  const Box desktop = VirtualScreenBox();
  const std::vector<Monitor> monitors = DisplayMonitors();
  ASSERT_FALSE(monitors.empty());
  int primaries = 0;
  for (const Monitor& m : monitors) {
    EXPECT_EQ(IntersectBox(m.rect, desktop), m.rect);
    EXPECT_GT(m.scale, 0.0f);
    if (!m.primary) continue;
    ++primaries;
    EXPECT_EQ(m.rect, (Box{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
  }
  EXPECT_EQ(primaries, 1);
}

TEST(Win32Monitors, TheHostsDesktopIsTheVirtualScreenAndItsSnapshotCoversIt) {
  Win32Host host;
  const Box desktop = host.DesktopRect();
  EXPECT_EQ(desktop, VirtualScreenBox());
  EXPECT_EQ(host.ScreenSize(), (Size{desktop.width, desktop.height}));
  EXPECT_EQ(host.Monitors(), DisplayMonitors());
  const Canvas snapshot = host.TakeSnapshot();
  EXPECT_EQ(snapshot.Width(), desktop.width);
  EXPECT_EQ(snapshot.Height(), desktop.height);
}

}  // namespace
}  // namespace rc
