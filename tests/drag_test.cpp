#include <gtest/gtest.h>

#include "capture_fixture.h"
#include "overlay/overlay_ops.h"

namespace rc {
namespace {

using DragTest = testing::CaptureTest;

TEST_F(DragTest, RubberBandIsNormalisedAndWidened) {
  host->SetCursor(500, 400);
  host->LeftDown();
  host->MoveTo(300, 200);
  EXPECT_EQ(S().SelectionRect, (IntRect{300, 200, 500, 400}));
  host->LeftUp();

  ResetSelection();
  host->SetCursor(100, 100);
  host->LeftDown();
  host->MoveTo(100, 150);
  EXPECT_EQ(S().SelectionRect, (IntRect{99, 100, 101, 150}));
  host->MoveTo(101, 150);
  EXPECT_EQ(S().SelectionRect, (IntRect{99, 100, 101, 150}));
  host->MoveTo(101, 101);
  EXPECT_EQ(S().SelectionRect, (IntRect{99, 99, 101, 101}));
}

TEST_F(DragTest, PressAndReleaseWithoutMovingKeepsTheOldRectangle) {
  host->SetCursor(50, 50);
  host->LeftDown();
  host->LeftUp();
  EXPECT_EQ(S().SelectionRect, (IntRect{0, 0, 0, 0}));
  EXPECT_EQ(S().SelectionComplete, 0);
  EXPECT_EQ(S().DragAnchor, (Point{-1, -1}));
  EXPECT_EQ(S().LeftButtonDown, 0);
}

TEST_F(DragTest, MoveFollowsTheGrabPointAndRetakesItAtTheEdge) {
  DragSelection({10, 10}, {110, 60});
  host->MoveTo(50, 30);
  host->LeftDown();
  host->MoveTo(50, 30);  // first step only records the grab
  EXPECT_EQ(S().DragOffset, (Point{-40, -20}));
  EXPECT_EQ(S().DragSize, (Point{100, 50}));
  EXPECT_EQ(S().SelectionRect, (IntRect{10, 10, 110, 60}));
  host->MoveTo(20, 30);
  EXPECT_EQ(S().SelectionRect, (IntRect{0, 10, 100, 60}));
  EXPECT_EQ(S().DragOffset, (Point{-20, -20}));
  host->MoveTo(30, 30);
  EXPECT_EQ(S().SelectionRect, (IntRect{10, 10, 110, 60}));
  host->LeftUp();
  EXPECT_EQ(S().DragOffset, (Point{-1, -1}));
}

TEST(DragOnWideScreen, MoveStopsAtTheRightEdge) {
  HeadlessHost host(1920, 200);
  ASSERT_TRUE(host.Start());
  host.SetCursor(100, 50);
  host.LeftDown();
  host.MoveTo(200, 100);
  host.LeftUp();
  host.MoveTo(150, 70);
  host.LeftDown();
  host.MoveTo(150, 70);
  host.MoveTo(1900, 70);
  EXPECT_EQ(State().SelectionRect, (IntRect{1820, 50, 1920, 100}));
  host.MoveTo(1890, 70);  // turning back moves it at once
  EXPECT_EQ(State().SelectionRect.left, 1810);
}

// A thin selection at an edge of the 640 x 480 screen grows inwards: the
// picture never holds a column or row that is not on the screen.
TEST_F(DragTest, ThinSelectionAtAnEdgeGrowsInwards) {
  const struct {
    Point from, to;
    IntRect widened;
  } cases[] = {
      {{0, 100}, {0, 200}, {0, 100, 2, 200}},     {{0, 100}, {1, 200}, {0, 100, 2, 200}},
      {{100, 0}, {200, 0}, {100, 0, 200, 2}},     {{640, 100}, {640, 200}, {638, 100, 640, 200}},
      {{100, 480}, {200, 480}, {100, 478, 200, 480}}, {{0, 0}, {0, 0}, {0, 0, 2, 2}},
  };
  for (const auto& c : cases) {
    ResetSelection();
    DragSelection(c.from, c.to);
    EXPECT_EQ(S().SelectionRect, c.widened) << c.from.x << "," << c.from.y;
  }
  // Resizing the left edge onto the right one at the screen's edge.
  ResetSelection();
  DragSelection({600, 100}, {640, 200});
  host->MoveTo(600, 150);
  host->LeftDown();
  host->MoveTo(600, 150);
  host->MoveTo(640, 150);
  EXPECT_EQ(S().SelectionRect, (IntRect{638, 100, 640, 200}));
}

TEST_F(DragTest, SelectionOffTheScreenCannotBeMoved) {
  DragSelection({10, 100}, {20, 200});
  S().SelectionRect = {-1, 100, 1, 200};
  S().CaptureMode = CaptureMode::Drag;
  S().DragInProgress = 1;
  S().LeftButtonDown = 1;
  host->MoveTo(50, 150);
  host->MoveTo(80, 150);
  EXPECT_EQ(S().SelectionRect, (IntRect{-1, 100, 1, 200}));
}

TEST_F(DragTest, EdgeResizeFollowsTheCursorAcrossTheOppositeEdge) {
  DragSelection({100, 100}, {300, 200});
  host->MoveTo(100, 150);
  host->LeftDown();
  host->MoveTo(120, 150);  // first step records
  EXPECT_EQ(S().DragAnchor, (Point{100, 100}));
  EXPECT_EQ(S().DragSize, (Point{200, 100}));
  EXPECT_EQ(S().SelectionRect, (IntRect{100, 100, 300, 200}));
  host->MoveTo(150, 150);
  EXPECT_EQ(S().SelectionRect, (IntRect{150, 100, 300, 200}));
  host->MoveTo(350, 150);
  EXPECT_EQ(S().SelectionRect, (IntRect{300, 100, 350, 200}));
  host->MoveTo(300, 150);
  EXPECT_EQ(S().SelectionRect, (IntRect{299, 100, 301, 200}));
}

TEST_F(DragTest, CornerResizeAnchorsTheOppositeCorner) {
  DragSelection({100, 100}, {300, 200});
  host->MoveTo(100, 100);
  host->LeftDown();
  host->MoveTo(250, 150);
  EXPECT_EQ(S().DragAnchor, (Point{300, 200}));
  EXPECT_EQ(S().SelectionRect, (IntRect{100, 100, 300, 200}));
  host->MoveTo(400, 50);
  EXPECT_EQ(S().SelectionRect, (IntRect{300, 50, 400, 200}));
}

}  // namespace
}  // namespace rc
