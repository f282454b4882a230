// The context menu: where it opens, which row a point hits, the row
// highlight from the highlighted picture, and what the rows do.
#include <gtest/gtest.h>

#include "capture_fixture.h"
#include "toolbar/artwork.h"
#include "toolbar/menu_layout.h"

namespace rc {
namespace {

TEST(MenuPlacement, OpensRightAndDownWhenThereIsRoom) {
  const Size screen{640, 480};
  // 169 px from the right edge is still enough; 168 is not.
  EXPECT_EQ(MenuOrigin({471, 100}, screen), (Point{475, 104}));
  EXPECT_EQ(MenuOrigin({472, 100}, screen), (Point{313, 104}));
  // 270 px above the bottom is enough; 269 opens it upward, ending 2 px
  // above the cursor.
  EXPECT_EQ(MenuOrigin({100, 210}, screen), (Point{104, 214}));
  EXPECT_EQ(MenuOrigin({100, 211}, screen), (Point{104, -47}));
}

TEST(MenuHit, RowsShareTheirBoundaryWithTheEarlierRow) {
  IntRect highlight;
  int32_t index = 0;
  const std::vector<std::pair<int32_t, int32_t>> rows = {
      {2, 1}, {24, 1}, {25, 2}, {46, 2}, {134, 6}, {138, 7}, {160, 7}, {182, 8}, {204, 9}, {208, 10}, {252, 11}};
  for (const auto& [dy, item] : rows) {
    ASSERT_TRUE(MenuItemAt(80, dy, highlight, index)) << dy;
    EXPECT_EQ(index, item) << dy;
  }
  ASSERT_TRUE(MenuItemAt(153, 24, highlight, index));
  EXPECT_EQ(highlight, (IntRect{2, 2, 153, 24}));
  ASSERT_TRUE(MenuItemAt(2, 150, highlight, index));
  EXPECT_EQ(highlight, (IntRect{2, 138, 153, 160}));
}

TEST(MenuHit, SeparatorsAndBordersHitNothing) {
  const std::vector<Point> misses = {{80, 135}, {80, 137}, {80, 205}, {80, 207}, {80, 0}, {80, 1},
                                     {80, 253}, {80, 255}, {0, 50},   {1, 50},   {154, 50}, {156, 50}};
  for (const Point& p : misses) {
    IntRect highlight;
    int32_t index = 0;
    EXPECT_FALSE(MenuItemAt(p.x, p.y, highlight, index)) << p.x << "," << p.y;
    EXPECT_EQ(index, 0);
    EXPECT_TRUE(highlight.IsZero());
  }
}

class MenuTest : public testing::CaptureTest {
 protected:
  // Selection (100, 100)-(500, 300), toolbar at (171, 306)-(500, 334), the
  // menu opened at (120, 120): its corner at (124, 124).
  void SetUp() override {
    CaptureTest::SetUp();
    DragSelection({100, 100}, {500, 300});
    host->SetCursor(120, 120);
    host->RightUp();
  }
  Point At(int32_t dx, int32_t dy) { return {S().MenuRect.left + dx, S().MenuRect.top + dy}; }
  bool PressItemAt(int32_t dy) {
    host->SetCursor(At(80, dy).x, At(80, dy).y);
    return host->LeftDown();
  }
  Pixel MenuPixel(int32_t dx, int32_t dy) { return Frame().At(At(dx, dy).x, At(dx, dy).y); }
};

TEST_F(MenuTest, OpensAtTheCursorAndShowsThePicture) {
  EXPECT_EQ(S().MenuOpen, 1);
  EXPECT_EQ(S().MenuRect, (IntRect{124, 124, 279, 380}));
  EXPECT_EQ(S().ToolbarRect, (IntRect{171, 306, 500, 334}));
  const Canvas& picture = MenuImage().Pixels();
  for (Point p : {Point{10, 10}, Point{60, 30}, Point{100, 134}, Point{140, 240}})
    EXPECT_EQ(MenuPixel(p.x + 2, p.y + 2), picture.At(p.x, p.y)) << p.x << "," << p.y;
  EXPECT_EQ(MenuPixel(80, 1), MakePixel(255, 255, 255, 255));  // the white background
}

TEST_F(MenuTest, HoveringARowShowsItFromTheHighlightedPicture) {
  const Canvas& normal = MenuImage().Pixels();
  const Canvas& hover = MenuHoverImage().Pixels();
  host->MoveTo(At(80, 24).x, At(80, 24).y);  // the last line of item 1
  for (int32_t y = 0; y < 22; y += 3) {
    EXPECT_EQ(MenuPixel(12, y + 2), hover.At(10, y)) << y;
    EXPECT_EQ(MenuPixel(120, y + 2), hover.At(118, y)) << y;
  }
  EXPECT_EQ(MenuPixel(120, 26), normal.At(118, 24));  // item 2 stays as it was
  host->MoveTo(At(80, 136).x, At(80, 136).y);  // a separator: no row
  EXPECT_EQ(MenuPixel(120, 4), normal.At(118, 2));
}

TEST_F(MenuTest, RightClickInsideMovesItAndOnTheMenuDoesNothing) {
  host->SetCursor(450, 130);
  host->RightUp();
  EXPECT_EQ(S().MenuRect, (IntRect{454, 134, 609, 390}));
  host->SetCursor(At(80, 50).x, At(80, 50).y);
  host->RightUp();
  EXPECT_EQ(S().MenuRect, (IntRect{454, 134, 609, 390}));
  EXPECT_EQ(S().MenuOpen, 1);
}

TEST_F(MenuTest, HideToolbarAndTheSeparatorsOnlyHighlight) {
  for (int32_t dy : {210, 136, 206}) {
    ASSERT_TRUE(PressItemAt(dy)) << dy;
    ASSERT_TRUE(host->LeftUp());
    EXPECT_EQ(S().MenuOpen, 1) << dy;
    EXPECT_EQ(S().MenuRect, (IntRect{124, 124, 279, 380})) << dy;
    EXPECT_EQ(S().SelectionRect, (IntRect{100, 100, 500, 300})) << dy;
    EXPECT_EQ(S().ToolbarRect, (IntRect{171, 306, 500, 334})) << dy;
  }
}

TEST_F(MenuTest, PressOnAToolbarButtonOnlyClosesTheMenu) {
  host->SetCursor(171 + 250, 306 + 12);  // the cancel button
  ASSERT_TRUE(host->LeftDown());
  EXPECT_EQ(S().MenuOpen, 0);
  EXPECT_TRUE(S().MenuRect.IsZero());
  EXPECT_EQ(S().ToolbarRect, (IntRect{171, 306, 500, 334}));
  ASSERT_TRUE(host->LeftUp());
  EXPECT_EQ(S().SelectionComplete, 1);
}

TEST_F(MenuTest, RightClickOnTheToolbarClosesIt) {
  host->SetCursor(480, 320);
  ASSERT_TRUE(host->RightUp());
  EXPECT_EQ(S().MenuOpen, 0);
  EXPECT_TRUE(S().MenuRect.IsZero());
}

TEST_F(MenuTest, ReselectDropsTheSelectionAndSwallowsTheRelease) {
  ASSERT_TRUE(PressItemAt(150));
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_TRUE(S().SelectionRect.IsZero());
  EXPECT_TRUE(S().ToolbarRect.IsZero());
  EXPECT_TRUE(S().MenuRect.IsZero());
  EXPECT_EQ(S().MenuOpen, 0);
  EXPECT_EQ(S().IgnoreNextLeftUp, 1);
  host->MoveTo(300, 200);
  ASSERT_TRUE(host->LeftUp());
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_EQ(S().IgnoreNextLeftUp, 0);
  EXPECT_TRUE(S().ToolbarRect.IsZero());
  DragSelection({50, 60}, {150, 160});
  EXPECT_EQ(S().SelectionRect, (IntRect{50, 60, 150, 160}));
  EXPECT_EQ(S().SelectionComplete, 1);
}

TEST_F(MenuTest, DoubleClickOnAToolRowKeepsTheCapture) {
  ASSERT_TRUE(PressItemAt(30));
  ASSERT_TRUE(host->LeftUp());
  ASSERT_TRUE(host->DoubleClick());
  ASSERT_TRUE(host->LeftUp());
  EXPECT_EQ(S().MenuOpen, 1);
  EXPECT_FALSE(host->Clipboard().has_value());
}

TEST_F(MenuTest, ExitEndsWithoutOutput) {
  EXPECT_FALSE(PressItemAt(240));
  EXPECT_EQ(host->ExitCode(), 0);
  EXPECT_FALSE(host->Clipboard().has_value());
}

TEST_F(MenuTest, FinishCopiesAndSaveAsksForAFile) {
  ASSERT_TRUE(PressItemAt(190));  // save, the dialog cancelled
  EXPECT_EQ(host->SaveRequests().size(), 1u);
  EXPECT_EQ(S().SelectionComplete, 0);
  DragSelection({100, 100}, {300, 200});
  host->SetCursor(120, 120);
  host->RightUp();
  EXPECT_FALSE(PressItemAt(170));
  EXPECT_EQ(host->ExitCode(), 0);
  ASSERT_TRUE(host->Clipboard().has_value());
  EXPECT_EQ(host->Clipboard()->Width(), 200);
}

}  // namespace
}  // namespace rc
