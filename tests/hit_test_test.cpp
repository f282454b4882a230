#include <gtest/gtest.h>

#include "capture_fixture.h"
#include "selection/hit_test.h"

namespace rc {
namespace {

class HitTest : public testing::CaptureTest {
 protected:
  void Select(IntRect r) {
    S().SelectionRect = r;
    S().SelectionComplete = 1;
  }
  HitZone At(int32_t x, int32_t y) {
    HitTestZones(x, y);
    return S().HitZone;
  }
};

TEST_F(HitTest, BandsAreTwoPixelsEitherSideInclusive) {
  Select({100, 100, 300, 200});
  EXPECT_EQ(At(97, 150), HitZone::Outside);
  EXPECT_EQ(At(98, 150), HitZone::Left);
  EXPECT_EQ(At(102, 150), HitZone::Left);
  EXPECT_EQ(At(103, 150), HitZone::Inside);
  EXPECT_EQ(At(297, 150), HitZone::Inside);
  EXPECT_EQ(At(298, 150), HitZone::Right);
  EXPECT_EQ(At(302, 150), HitZone::Right);
  EXPECT_EQ(At(303, 150), HitZone::Outside);
  EXPECT_EQ(At(100, 98), HitZone::TopLeft);
  EXPECT_EQ(At(150, 202), HitZone::Bottom);
  EXPECT_EQ(At(150, 203), HitZone::Outside);
  EXPECT_EQ(At(302, 202), HitZone::BottomRight);
  EXPECT_EQ(At(298, 98), HitZone::TopRight);
  EXPECT_EQ(At(98, 201), HitZone::BottomLeft);
  EXPECT_EQ(At(150, 99), HitZone::Top);
}

TEST_F(HitTest, NarrowSelectionsBreakTiesLeftTopCornerAndBottom) {
  Select({100, 100, 103, 300});
  EXPECT_EQ(At(101, 150), HitZone::Left);
  EXPECT_EQ(At(102, 150), HitZone::Left);
  EXPECT_EQ(At(103, 150), HitZone::Right);
  EXPECT_EQ(At(105, 150), HitZone::Right);
  Select({100, 100, 300, 103});
  EXPECT_EQ(At(150, 101), HitZone::Bottom);
  EXPECT_EQ(At(100, 101), HitZone::TopLeft);
}

TEST_F(HitTest, ToolbarAndMenuAreStrictAndWinOverEverything) {
  Select({100, 100, 300, 200});
  S().ToolbarRect = {150, 150, 200, 180};
  EXPECT_EQ(At(151, 151), HitZone::Toolbar);
  EXPECT_EQ(At(150, 160), HitZone::Inside);  // on the toolbar's left line
  EXPECT_EQ(At(160, 150), HitZone::Inside);  // on its top line
  S().MenuRect = {155, 155, 400, 400};
  EXPECT_EQ(At(160, 160), HitZone::Menu);
  EXPECT_EQ(host->Pointer()->standard, StandardCursor::Arrow);
}

TEST_F(HitTest, SamePixelIsNotClassifiedAgain) {
  Select({100, 100, 300, 200});
  EXPECT_EQ(At(150, 150), HitZone::Inside);
  const int changes = host->PointerChanges();
  S().SelectionRect = {0, 0, 10, 10};
  EXPECT_EQ(At(150, 150), HitZone::Inside);
  EXPECT_EQ(host->PointerChanges(), changes);
  EXPECT_EQ(At(151, 150), HitZone::Outside);
  EXPECT_TRUE(host->Pointer()->IsFile());
}

TEST_F(HitTest, ZonesGiveTheirCursorShapes) {
  Select({100, 100, 300, 200});
  At(150, 150);
  EXPECT_EQ(host->Pointer()->standard, StandardCursor::SizeAll);
  At(100, 150);
  EXPECT_EQ(host->Pointer()->standard, StandardCursor::SizeWE);
  At(150, 200);
  EXPECT_EQ(host->Pointer()->standard, StandardCursor::SizeNS);
  At(300, 100);
  EXPECT_EQ(host->Pointer()->standard, StandardCursor::SizeNESW);
  At(300, 200);
  EXPECT_EQ(host->Pointer()->standard, StandardCursor::SizeNWSE);
}

TEST_F(HitTest, NothingIsClassifiedBeforeASelectionIsComplete) {
  host->MoveTo(10, 10);
  EXPECT_EQ(S().HitZone, HitZone::None);
  EXPECT_EQ(S().CaptureMode, CaptureMode::Draw);
  EXPECT_TRUE(host->Pointer()->IsFile());
}

TEST_F(HitTest, ModeFollowsZoneAndAdjustZoneIsACopy) {
  Select({100, 100, 300, 200});
  host->MoveTo(150, 150);
  EXPECT_EQ(S().CaptureMode, CaptureMode::Drag);
  host->MoveTo(100, 150);
  EXPECT_EQ(S().CaptureMode, CaptureMode::Adjust);
  EXPECT_EQ(S().AdjustZone, HitZone::Left);
  host->MoveTo(150, 150);
  EXPECT_EQ(S().AdjustZone, HitZone::Left);  // untouched by a move inside
  host->MoveTo(20, 20);
  EXPECT_EQ(S().CaptureMode, CaptureMode::None);
  EXPECT_EQ(S().AdjustZone, HitZone::None);
}

TEST_F(HitTest, ADragFreezesZoneModeAndCursor) {
  DragSelection({100, 100}, {300, 200});
  host->MoveTo(100, 150);
  host->LeftDown();
  host->MoveTo(200, 150);
  host->MoveTo(400, 150);  // across the right edge
  EXPECT_EQ(S().HitZone, HitZone::Left);
  EXPECT_EQ(S().AdjustZone, HitZone::Left);
  EXPECT_EQ(S().CaptureMode, CaptureMode::Adjust);
  EXPECT_EQ(host->Pointer()->standard, StandardCursor::SizeWE);
  host->LeftUp();
  host->MoveTo(401, 150);
  EXPECT_EQ(S().HitZone, HitZone::Right);
}

}  // namespace
}  // namespace rc
