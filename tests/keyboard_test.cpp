#include <gtest/gtest.h>

#include "capture_fixture.h"
#include "magnifier/magnifier.h"

namespace rc {
namespace {

using Keys = testing::CaptureTest;

TEST_F(Keys, ArrowsAimThePointerAndAKeyboardPressAndReleaseMakeASelection) {
  host->MoveTo(100, 100);
  host->KeyDown(Key::Right);
  host->KeyDown(Key::Down, kModShift);
  EXPECT_EQ(S().Cursor, (Point{101, 110}));
  EXPECT_EQ(host->PointerMoves().back(), (Point{101, 110}));
  EXPECT_EQ(host->CursorPos(), (Point{101, 110}));
  host->KeyDown(Key::Return);
  EXPECT_EQ(S().KeyboardPress, 1);
  host->KeyDown(Key::Right, kModShift);
  host->KeyDown(Key::Right, kModShift);
  host->KeyDown(Key::Down);
  EXPECT_EQ(S().SelectionRect, (IntRect{101, 109, 121, 111})) << "the rubber band follows at once, widened";
  host->KeyDown(Key::Down);
  host->KeyDown(Key::Space);
  EXPECT_EQ(S().SelectionComplete, 1);
  EXPECT_EQ(S().KeyboardPress, 0);
  EXPECT_EQ(S().SelectionRect, (IntRect{101, 110, 121, 112}));
}

TEST_F(Keys, ThePointerStaysOnTheDesktopAndLateMovesDoNotUndoMovesByKey) {
  host->MoveTo(3, 2);
  host->KeyDown(Key::Left, kModShift);
  host->KeyDown(Key::Up, kModShift);
  EXPECT_EQ(S().Cursor, (Point{0, 0}));
  host->MoveTo(639, 479);
  host->KeyDown(Key::Right);
  host->KeyDown(Key::Down, kModShift);
  EXPECT_EQ(S().Cursor, (Point{639, 479}));
  host->MoveTo(300, 300);
  host->KeyDown(Key::Left);
  host->KeyDown(Key::Left);
  // The system reports the first move by key only after the second.
  host->Send([&] {
    Message m = host->At(MessageKind::MouseMove);
    m.pos = {299, 300};
    return m;
  }());
  EXPECT_EQ(S().Cursor, (Point{298, 300}));
  host->MoveTo(298, 300);
  host->MoveTo(250, 250);
  EXPECT_EQ(S().Cursor, (Point{250, 250}));
}

TEST_F(Keys, ArrowsMoveTheSelectionAndStopAtTheScreensEdges) {
  DragSelection({100, 100}, {300, 200});
  host->MoveTo(500, 400);
  host->KeyDown(Key::Left);
  EXPECT_EQ(S().SelectionRect, (IntRect{99, 100, 299, 200}));
  host->KeyDown(Key::Up, kModShift);
  EXPECT_EQ(S().SelectionRect, (IntRect{99, 90, 299, 190}));
  for (int i = 0; i < 20; ++i) host->KeyDown(Key::Left, kModShift);
  EXPECT_EQ(S().SelectionRect, (IntRect{0, 90, 200, 190}));
  for (int i = 0; i < 40; ++i) host->KeyDown(Key::Down, kModShift);
  EXPECT_EQ(S().SelectionRect, (IntRect{0, 380, 200, 480}));
  EXPECT_EQ(Frame().At(100, 430), screen.At(100, 430)) << "the frame follows at once";
  EXPECT_NE(S().ToolbarRect, (IntRect{})) << "and so does the toolbar";
}

TEST_F(Keys, CtrlArrowsGrowAndShrinkTheFarEdgesCtrlShiftTheNearOnes) {
  DragSelection({100, 100}, {105, 104});
  host->MoveTo(500, 400);
  host->KeyDown(Key::Right, kModCtrl);
  host->KeyDown(Key::Down, kModCtrl);
  EXPECT_EQ(S().SelectionRect, (IntRect{100, 100, 106, 105}));
  for (int i = 0; i < 10; ++i) host->KeyDown(Key::Left, kModCtrl);
  for (int i = 0; i < 10; ++i) host->KeyDown(Key::Up, kModCtrl);
  EXPECT_EQ(S().SelectionRect, (IntRect{100, 100, 102, 102})) << "never below 2 pixels";
  host->KeyDown(Key::Left, kModCtrl | kModShift);
  host->KeyDown(Key::Up, kModCtrl | kModShift);
  EXPECT_EQ(S().SelectionRect, (IntRect{99, 99, 102, 102}));
  for (int i = 0; i < 5; ++i) host->KeyDown(Key::Right, kModCtrl | kModShift);
  EXPECT_EQ(S().SelectionRect, (IntRect{100, 99, 102, 102}));
  for (int i = 0; i < 200; ++i) host->KeyDown(Key::Left, kModCtrl | kModShift);
  for (int i = 0; i < 700; ++i) host->KeyDown(Key::Right, kModCtrl);
  EXPECT_EQ(S().SelectionRect, (IntRect{0, 99, 640, 102})) << "growing stops at the screen's edges";
}

TEST_F(Keys, ReturnAndCtrlCFinishCtrlSSaves) {
  DragSelection({10, 10}, {20, 30});
  EXPECT_FALSE(host->KeyDown(Key::Return));
  ASSERT_TRUE(host->Clipboard());
  EXPECT_EQ(host->Clipboard()->Width(), 10);

  StartCapture();
  DragSelection({10, 10}, {20, 30});
  EXPECT_FALSE(host->KeyDown(Key::C, kModCtrl));
  EXPECT_EQ(host->Clipboard()->Height(), 20);

  StartCapture();
  DragSelection({10, 10}, {20, 30});
  EXPECT_TRUE(host->KeyDown(Key::S, kModCtrl));  // the dialog is cancelled
  EXPECT_EQ(host->SaveRequests().size(), 1u);
  EXPECT_EQ(S().SelectionComplete, 0);
}

TEST_F(Keys, KeysWaitWhileTheMouseDrags) {
  host->SetCursor(50, 50);
  host->LeftDown();
  host->MoveTo(80, 80);
  EXPECT_TRUE(host->KeyDown(Key::Return));
  EXPECT_TRUE(host->KeyDown(Key::Left));
  EXPECT_EQ(S().Cursor, (Point{80, 80}));
  EXPECT_EQ(S().KeyboardPress, 0);
  host->LeftUp();
  EXPECT_EQ(S().SelectionRect, (IntRect{50, 50, 80, 80}));
}

TEST_F(Keys, TabSwitchesTheReadoutAndCCopiesTheColourInTheFormShown) {
  host->MoveTo(200, 150);
  const uint32_t colour = CrossHairColour({200, 150});
  const Pixel p = screen.At(200, 149);
  char hex[8];
  std::snprintf(hex, sizeof hex, "#%02X%02X%02X", RedOf(p), GreenOf(p), BlueOf(p));
  EXPECT_EQ(ColourCopyText(colour, true), hex);
  EXPECT_EQ(ColourReadoutText(colour, true), std::string("HEX:") + hex);
  EXPECT_TRUE(host->KeyDown(Key::Tab));
  EXPECT_EQ(S().HexReadout, 1);
  EXPECT_FALSE(host->KeyDown(Key::C));
  EXPECT_EQ(host->ExitCode(), 0);
  EXPECT_EQ(host->ClipboardText(), std::string(hex));

  StartCapture();
  host->MoveTo(200, 150);
  host->FailClipboard(1);
  EXPECT_TRUE(host->KeyDown(Key::C)) << "a busy clipboard keeps the capture open";
  EXPECT_FALSE(host->KeyDown(Key::C));
  EXPECT_EQ(host->ClipboardText(), std::to_string(RedOf(p)) + "," + std::to_string(GreenOf(p)) + "," +
                                       std::to_string(BlueOf(p)));
}

}  // namespace
}  // namespace rc
