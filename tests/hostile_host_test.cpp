// The host failing under the program: no snapshot, no threads. The capture
// either works as usual, only slower, or ends with a clear error; it never
// shows a black screen or aborts.
#include <gtest/gtest.h>

#include "app/compositor.h"
#include "capture_fixture.h"

namespace rc {
namespace {

// Under a process limit the helper threads (the snapshot copy, the dimmed
// fill) cannot start: their work runs on the calling thread instead.
TEST(HostileHost, NoThreadsMeansSlowerNotEnded) {
  HeadlessHost host(1920, 1080);
  testing::PaintPattern(host.Screen());
  const Canvas screen = host.Screen().Clone();
  host.RefuseThreads(true);
  ASSERT_TRUE(host.Start());
  EXPECT_EQ(host.Presented().At(700, 900), testing::Dimmed(screen.At(700, 900)));
  host.SetCursor(100, 100);
  host.LeftDown();
  host.MoveTo(1500, 1000);
  host.LeftUp();
  EXPECT_EQ(host.Presented().At(700, 900), screen.At(700, 900));
  EXPECT_FALSE(host.DoubleClick());
  EXPECT_EQ(host.ExitCode(), 0);
  ASSERT_TRUE(host.Clipboard().has_value());
  EXPECT_EQ(host.Clipboard()->At(600, 800), screen.At(700, 900));
}

}  // namespace
}  // namespace rc

namespace rc {
namespace {

// An unreadable screen (an 8-bit colour-mapped visual, memory refused) ends
// the program with a clear error instead of a black overlay.
TEST(HostileHost, EmptySnapshotIsAnErrorNotABlackCapture) {
  HeadlessHost host(320, 200);
  host.FailSnapshot("Headless: the screen is 8-bit PseudoColor");
  EXPECT_FALSE(host.Start());
  EXPECT_EQ(host.ExitCode(), 1);
  EXPECT_EQ(host.ExitRoutineRuns(), 1);
  EXPECT_NE(host.ErrorText().find("无法读取屏幕画面：Headless: the screen is 8-bit PseudoColor"), std::string::npos);
  EXPECT_FALSE(host.Topmost()) << "the input was never taken";
  EXPECT_FALSE(host.Clipboard().has_value());
}

}  // namespace
}  // namespace rc
