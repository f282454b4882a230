// The edit toolbar: where it goes, which button a point hits, what it
// paints and what a press does.
#include <gtest/gtest.h>

#include "capture_fixture.h"
#include "toolbar/toolbar_layout.h"

namespace rc {
namespace {

constexpr Pixel kBackground = MakePixel(255, 222, 238, 255);
constexpr Pixel kHighlight = MakePixel(255, 175, 229, 255);

TEST(ToolbarPlacement, BelowAboveOrInsideTheSelection) {
  // 34 px left under the selection: below it, 6 px down.
  EXPECT_EQ(PlaceToolbar({100, 100, 400, 446}, 480), (IntRect{71, 452, 400, 480}));
  // 33 px: above it, 4 px up.
  EXPECT_EQ(PlaceToolbar({100, 100, 400, 447}, 480), (IntRect{71, 68, 400, 96}));
  EXPECT_EQ(PlaceToolbar({100, 33, 400, 470}, 480), (IntRect{71, 1, 400, 29}));
  // No room above either (top at 32): inside, 5 px under the top edge.
  EXPECT_EQ(PlaceToolbar({100, 32, 400, 470}, 480), (IntRect{71, 37, 400, 65}));
}

TEST(ToolbarPlacement, NeverStartsLeftOfColumnFive) {
  EXPECT_EQ(PlaceToolbar({10, 10, 333, 100}, 480), (IntRect{5, 106, 334, 134}));
  EXPECT_EQ(PlaceToolbar({10, 10, 334, 100}, 480), (IntRect{5, 106, 334, 134}));
  EXPECT_EQ(PlaceToolbar({10, 10, 335, 100}, 480), (IntRect{6, 106, 335, 134}));
  // A completed click without a drag leaves the empty rectangle.
  EXPECT_EQ(PlaceToolbar({0, 0, 0, 0}, 480), (IntRect{5, 6, 334, 34}));
}

TEST(ToolbarHit, ColumnsAndRowsOfTheButtons) {
  IntRect highlight;
  int32_t index = 0;
  for (int32_t dx = 159; dx <= 166; ++dx) {
    ASSERT_TRUE(ToolbarButtonAt(dx, 12, highlight, index)) << dx;
    EXPECT_EQ(index, 6);
    EXPECT_EQ(highlight, (IntRect{144, 3, 166, 23}));
  }
  ASSERT_TRUE(ToolbarButtonAt(219, 3, highlight, index));
  EXPECT_EQ(index, 8);
  EXPECT_EQ(highlight, (IntRect{196, 3, 219, 23}));
  ASSERT_TRUE(ToolbarButtonAt(321, 23, highlight, index));
  EXPECT_EQ(index, 11);
  ASSERT_TRUE(ToolbarButtonAt(6, 12, highlight, index));
  EXPECT_EQ(highlight, (IntRect{6, 3, 28, 23}));
}

TEST(ToolbarHit, DropArrowGapsAndEdgeRowsAreNoButton) {
  for (int32_t dx = 220; dx <= 228; ++dx) {
    IntRect highlight;
    int32_t index = 0;
    EXPECT_FALSE(ToolbarButtonAt(dx, 12, highlight, index)) << dx;
    EXPECT_EQ(index, 9);  // found, but never highlighted and never acted on
  }
  for (int32_t dx : {0, 5, 29, 31, 133, 143, 167, 193, 229, 240, 263, 266, 322, 328}) {
    IntRect highlight;
    int32_t index = 0;
    EXPECT_FALSE(ToolbarButtonAt(dx, 12, highlight, index)) << dx;
    EXPECT_EQ(index, 0) << dx;
    EXPECT_TRUE(highlight.IsZero()) << dx;
  }
  for (int32_t dy : {0, 1, 2, 24, 25, 27}) {
    IntRect highlight;
    int32_t index = 0;
    EXPECT_FALSE(ToolbarButtonAt(20, dy, highlight, index)) << dy;
    EXPECT_EQ(index, 0) << dy;
  }
}

class ToolbarTest : public testing::CaptureTest {
 protected:
  // Selection (100, 100)-(500, 200): the toolbar lies at (171, 206)-(500, 234).
  void SetUp() override {
    CaptureTest::SetUp();
    DragSelection({100, 100}, {500, 200});
  }
  Point At(int32_t dx, int32_t dy) { return {S().ToolbarRect.left + dx, S().ToolbarRect.top + dy}; }
  Pixel ToolbarPixel(int32_t dx, int32_t dy) { return Frame().At(At(dx, dy).x, At(dx, dy).y); }
  bool HoverAt(int32_t dx, int32_t dy) { return host->MoveTo(At(dx, dy).x, At(dx, dy).y); }
  bool PressAt(int32_t dx, int32_t dy) {
    host->SetCursor(At(dx, dy).x, At(dx, dy).y);
    return host->LeftDown();
  }
};

TEST_F(ToolbarTest, PaintedBelowTheSelectionOnItsBackground) {
  EXPECT_EQ(S().ToolbarRect, (IntRect{171, 206, 500, 234}));
  // Row 2 lies above the strip's icons: plain background across the bar.
  for (int32_t dx : {3, 100, 200, 325}) EXPECT_EQ(ToolbarPixel(dx, 2), kBackground) << dx;
  // The background ends at row 25; rows 26-27 show the frame under it.
  EXPECT_EQ(ToolbarPixel(100, 27), testing::Dimmed(screen.At(271, 233)));
  // The strip's icons sit on the background: the finish caption is dark.
  int dark = 0;
  for (int32_t dy = 5; dy <= 22; ++dy)
    for (int32_t dx = 293; dx <= 316; ++dx) dark += RedOf(ToolbarPixel(dx, dy)) < 80 ? 1 : 0;
  EXPECT_GT(dark, 15);
}

TEST_F(ToolbarTest, HoverHighlightsTheButtonUnderTheCursorOnly) {
  HoverAt(160, 12);  // the right part of the undo icon
  EXPECT_EQ(ToolbarPixel(150, 4), kHighlight);
  EXPECT_EQ(ToolbarPixel(120, 4), kBackground);
  HoverAt(224, 12);  // the drop arrow
  EXPECT_EQ(ToolbarPixel(150, 4), kBackground);
  EXPECT_EQ(ToolbarPixel(222, 4), kBackground);
  EXPECT_EQ(ToolbarPixel(200, 4), kBackground);
  HoverAt(219, 12);  // the picture button's last column
  EXPECT_EQ(ToolbarPixel(200, 4), kHighlight);
  HoverAt(100, 1);  // inside the toolbar's zone, above the buttons
  EXPECT_EQ(S().HitZone, HitZone::Toolbar);
  EXPECT_EQ(ToolbarPixel(200, 4), kBackground);
}

TEST_F(ToolbarTest, ButtonPressesKeepTheSelectionAndItsToolbar) {
  for (int32_t dx : {10, 40, 70, 90, 120, 150, 200, 224, 325}) {
    ASSERT_TRUE(PressAt(dx, 12)) << dx;
    ASSERT_TRUE(host->LeftUp()) << dx;
    EXPECT_EQ(S().SelectionRect, (IntRect{100, 100, 500, 200})) << dx;
    EXPECT_EQ(S().ToolbarRect, (IntRect{171, 206, 500, 234})) << dx;
    EXPECT_EQ(S().SelectionComplete, 1);
    EXPECT_EQ(S().MenuOpen, 0);
    EXPECT_EQ(S().DragInProgress, 0);
  }
  EXPECT_FALSE(host->Clipboard().has_value());
  EXPECT_TRUE(host->SaveRequests().empty());
}

TEST_F(ToolbarTest, CancelEndsTheProgramOnThePress) {
  EXPECT_FALSE(PressAt(250, 12));
  EXPECT_EQ(host->ExitCode(), 0);
  EXPECT_FALSE(host->Clipboard().has_value());
}

TEST_F(ToolbarTest, FinishCopiesTheSelectionOnThePress) {
  EXPECT_FALSE(PressAt(300, 12));
  EXPECT_EQ(host->ExitCode(), 0);
  ASSERT_TRUE(host->Clipboard().has_value());
  EXPECT_EQ(host->Clipboard()->Width(), 400);
  EXPECT_EQ(host->Clipboard()->Height(), 100);
}

// A double-click is a press, a release, a double-click and a release.
TEST_F(ToolbarTest, DoubleClickOnAButtonIsTwoPressesThere) {
  for (int32_t dx : {40, 224}) {  // a tool button and the drop arrow
    ASSERT_TRUE(PressAt(dx, 12));
    ASSERT_TRUE(host->LeftUp());
    ASSERT_TRUE(host->DoubleClick()) << dx;
    ASSERT_TRUE(host->LeftUp());
    EXPECT_EQ(S().SelectionComplete, 1);
    EXPECT_FALSE(host->Clipboard().has_value());
  }
  ASSERT_TRUE(PressAt(180, 12));  // save, cancelled
  ASSERT_TRUE(host->LeftUp());
  DragSelection({100, 100}, {500, 200});
  host->SetCursor(At(180, 12).x, At(180, 12).y);
  ASSERT_TRUE(host->DoubleClick());  // the second press opens the dialog again
  EXPECT_EQ(host->SaveRequests().size(), 2u);
}

// Finishing an empty selection from the toolbar keeps the capture, and the
// release of that press completes nothing: the next drag works.
TEST_F(ToolbarTest, EmptyFinishLeavesTheOverlayReadyForADrag) {
  S().SelectionRect = {};
  ASSERT_TRUE(PressAt(300, 12));
  ASSERT_TRUE(host->LeftUp());
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_TRUE(S().ToolbarRect.IsZero());
  DragSelection({20, 20}, {60, 70});
  EXPECT_EQ(S().SelectionRect, (IntRect{20, 20, 60, 70}));
  EXPECT_EQ(S().SelectionComplete, 1);
}

TEST_F(ToolbarTest, SaveOpensTheDialogOnThePressAndACancelDropsTheSelection) {
  EXPECT_TRUE(PressAt(180, 12));
  EXPECT_EQ(host->SaveRequests().size(), 1u);
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_TRUE(S().ToolbarRect.IsZero());
}

}  // namespace
}  // namespace rc
