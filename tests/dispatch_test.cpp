#include <gtest/gtest.h>

#include "capture_fixture.h"
#include "overlay/overlay_ops.h"

namespace rc {
namespace {

using Dispatch = testing::CaptureTest;

TEST_F(Dispatch, EscapeEndsAtOnceWithCodeZeroAndCleansUpOnce) {
  EXPECT_FALSE(host->KeyDown(Key::Escape));
  EXPECT_EQ(host->ExitCode(), 0);
  EXPECT_EQ(host->ExitRoutineRuns(), 1);
  EXPECT_FALSE(HasState());
}

TEST_F(Dispatch, OtherKeysDoNothing) {
  EXPECT_TRUE(host->KeyDown(Key::A));
  EXPECT_FALSE(host->Ended());
}

TEST_F(Dispatch, EscapeDuringADragEndsToo) {
  host->SetCursor(10, 10);
  host->LeftDown();
  host->MoveTo(50, 50);
  EXPECT_FALSE(host->KeyDown(Key::Escape));
  EXPECT_EQ(host->ExitCode(), 0);
}

TEST_F(Dispatch, RightClickWithoutSelectionEnds) {
  host->SetCursor(10, 10);
  EXPECT_FALSE(host->RightUp());
  EXPECT_EQ(host->ExitCode(), 0);
}

TEST_F(Dispatch, RightClickOutsideDropsTheSelection) {
  DragSelection({100, 100}, {300, 200});
  host->MoveTo(400, 400);
  EXPECT_TRUE(host->RightUp());
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_EQ(S().SelectionRect, (IntRect{}));
  EXPECT_EQ(Frame().At(150, 150), testing::Dimmed(screen.At(150, 150)));
  EXPECT_TRUE(host->Pointer()->IsFile());
}

TEST_F(Dispatch, RightClickOnAHandleDoesNothing) {
  DragSelection({100, 100}, {300, 200});
  host->MoveTo(300, 200);
  EXPECT_TRUE(host->RightUp());
  EXPECT_EQ(S().SelectionComplete, 1);
  EXPECT_EQ(S().MenuOpen, 0);
}

TEST_F(Dispatch, RightClickInsideOpensTheMenu) {
  DragSelection({100, 100}, {300, 200});
  host->MoveTo(150, 150);
  EXPECT_TRUE(host->RightUp());
  EXPECT_EQ(S().MenuOpen, 1);
}

TEST_F(Dispatch, DoubleClickBeforeASelectionDoesNothing) {
  host->SetCursor(10, 10);
  EXPECT_TRUE(host->DoubleClick());
  EXPECT_FALSE(host->Ended());
}

TEST_F(Dispatch, DoubleClickOnASelectionFinishes) {
  DragSelection({100, 100}, {300, 200});
  EXPECT_FALSE(host->DoubleClick());
  EXPECT_EQ(host->ExitCode(), 0);
}

// Only a drag makes a selection: a click leaves the overlay as it was.
TEST_F(Dispatch, ClickWithoutADragCompletesNothing) {
  host->SetCursor(50, 50);
  host->LeftDown();
  host->LeftUp();
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_TRUE(S().ToolbarRect.IsZero());
  EXPECT_EQ(Frame().At(10, 10), testing::Dimmed(screen.At(10, 10)));
  EXPECT_TRUE(host->DoubleClick());
  EXPECT_FALSE(host->Ended());
  DragSelection({60, 60}, {120, 100});
  EXPECT_EQ(S().SelectionComplete, 1);
  EXPECT_EQ(S().SelectionRect, (IntRect{60, 60, 120, 100}));
}

// The button was already down when the program started: its release is
// not the end of a drag the overlay saw.
TEST_F(Dispatch, ReleaseWithoutAPressIsIgnored) {
  S().SelectionRect = {10, 10, 50, 50};
  host->MoveTo(50, 50);
  host->LeftUp();
  EXPECT_EQ(S().SelectionComplete, 0);
  DragSelection({60, 60}, {120, 100});
  EXPECT_EQ(S().SelectionComplete, 1);
}

TEST_F(Dispatch, IgnoreNextLeftUpSwallowsOneRelease) {
  S().IgnoreNextLeftUp = 1;
  host->SetCursor(10, 10);
  host->LeftDown();
  host->MoveTo(60, 60);
  host->LeftUp();
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_EQ(S().IgnoreNextLeftUp, 0);
  host->LeftDown();
  host->MoveTo(80, 80);
  host->LeftUp();
  EXPECT_EQ(S().SelectionComplete, 1);
}

TEST_F(Dispatch, PressOutsideASelectionStartsNoDrag) {
  DragSelection({100, 100}, {300, 200});
  host->MoveTo(400, 400);
  host->LeftDown();
  EXPECT_EQ(S().DragInProgress, 0);
  EXPECT_EQ(S().LeftButtonDown, 1);
  // Moving the held cursor into the selection makes the moves a move drag.
  host->MoveTo(150, 150);
  EXPECT_EQ(S().CaptureMode, CaptureMode::Drag);
}

}  // namespace
}  // namespace rc

namespace rc {
namespace {

// Messages already queued when the overlay is created pass through the
// window procedure before the loop starts: an early Escape ends at once.
TEST(PendingMessages, AnEscapeQueuedBeforeStartUpEndsTheCapture) {
  HeadlessHost host(200, 150);
  Message escape;
  escape.kind = MessageKind::KeyDown;
  escape.key = Key::Escape;
  host.Post(escape);
  EXPECT_FALSE(host.Start());
  EXPECT_EQ(host.ExitCode(), 0);
  EXPECT_EQ(host.ExitRoutineRuns(), 1);
}

}  // namespace
}  // namespace rc
