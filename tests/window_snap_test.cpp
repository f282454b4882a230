#include <gtest/gtest.h>

#include "capture_fixture.h"

namespace rc {
namespace {

class WindowSnap : public testing::CaptureTest {
 protected:
  void SetUp() override {}
  // Windows top-most first, as the host lists them.
  void StartWith(std::vector<Box> windows, bool snap = true) {
    host.reset();
    host = std::make_unique<HeadlessHost>(640, 480);
    testing::PaintPattern(host->Screen());
    screen = host->Screen().Clone();
    host->ScriptWindows(std::move(windows));
    host->SetCaptureOptions({.windowSnap = snap});
    ASSERT_TRUE(host->Start());
  }
  void Click(int32_t x, int32_t y) {
    host->MoveTo(x, y);
    host->LeftDown();
    host->LeftUp();
  }
};

TEST_F(WindowSnap, HoverShowsTheTopMostWindowAndAClickSelectsIt) {
  // A dialog over its parent, a zero-size window, a window nested in the parent.
  StartWith({{200, 150, 100, 80}, {250, 100, 0, 0}, {60, 60, 50, 50}, {50, 50, 400, 300}});
  host->MoveTo(250, 180);
  EXPECT_EQ(S().SnapRect, (IntRect{200, 150, 300, 230}));
  EXPECT_EQ(Frame().At(250, 190), screen.At(250, 190)) << "shown clear, like a selection";
  host->MoveTo(250, 100);
  EXPECT_EQ(S().SnapRect, (IntRect{50, 50, 450, 350})) << "zero-size windows are passed over";
  host->MoveTo(70, 70);
  EXPECT_EQ(S().SnapRect, (IntRect{60, 60, 110, 110}));
  Click(300, 230);
  EXPECT_EQ(S().SelectionComplete, 1);
  EXPECT_EQ(S().SelectionRect, (IntRect{50, 50, 450, 350})) << "the dialog's frame ends before (300, 230)";
}

TEST_F(WindowSnap, WindowsPartlyOffTheDesktopAreCutAndTheBareDesktopIsTheMonitor) {
  StartWith({{-100, -50, 200, 150}, {600, 400, 500, 500}, {-500, -500, 100, 100}});
  Click(10, 10);
  EXPECT_EQ(S().SelectionRect, (IntRect{0, 0, 100, 100}));
  StartWith({{600, 400, 500, 500}, {-500, -500, 100, 100}});
  Click(620, 420);
  EXPECT_EQ(S().SelectionRect, (IntRect{600, 400, 640, 480}));
  Click(620, 420);  // a click now lands on the selection and does nothing
  StartWith({{-500, -500, 100, 100}});
  Click(320, 240);
  EXPECT_EQ(S().SelectionRect, (IntRect{0, 0, 640, 480}));
}

TEST_F(WindowSnap, ADragStillDrawsAFreeSelectionAndSnappingCanBeTurnedOff) {
  StartWith({{200, 150, 100, 80}});
  DragSelection({210, 160}, {260, 200});
  EXPECT_EQ(S().SelectionRect, (IntRect{210, 160, 260, 200}));
  StartWith({{200, 150, 100, 80}}, false);
  host->MoveTo(250, 180);
  EXPECT_EQ(S().SnapRect, (IntRect{}));
  EXPECT_EQ(Frame().At(250, 190), testing::Dimmed(screen.At(250, 190)));
  Click(250, 180);
  EXPECT_EQ(S().SelectionComplete, 0) << "a click selects nothing, as without snapping";
}

TEST_F(WindowSnap, AKeyboardClickSelectsTheWindowToo) {
  StartWith({{200, 150, 100, 80}});
  host->MoveTo(250, 180);
  host->KeyDown(Key::Return);
  host->KeyDown(Key::Return);
  EXPECT_EQ(S().SelectionRect, (IntRect{200, 150, 300, 230}));
}

}  // namespace
}  // namespace rc
