// The toolbar and the menu on a monitor with a UI scale: drawn larger, and
// a press at a button's scaled place acts on that button.
#include <gtest/gtest.h>

#include <cmath>

#include "app/ui_scale.h"
#include "capture_fixture.h"
#include "gfx/resample.h"
#include "magnifier/magnifier.h"
#include "overlay/selection_frame_layer.h"
#include "toolbar/artwork.h"
#include "toolbar/toolbar_layout.h"

namespace rc {
namespace {

constexpr Pixel kBackground = MakePixel(255, 222, 238, 255);
constexpr Pixel kHighlight = MakePixel(255, 175, 229, 255);

// The middle column of each highlighted button of the 1x layout, and its index.
constexpr std::array<std::pair<int32_t, int32_t>, 10> kButtonMiddles = {
    {{17, 1}, {43, 2}, {69, 3}, {95, 4}, {121, 5}, {155, 6}, {181, 7}, {207, 8}, {251, 10}, {294, 11}}};

class ScaledUiTest : public testing::CaptureTest {
 protected:
  void SetUp() override {}
  // A 1280 x 960 desktop of one monitor at `scale` and the selection
  // (200, 200)-(right, 400) on it.
  void StartAt(float scale, int32_t right = 1000) {
    host = std::make_unique<HeadlessHost>(1280, 960);
    testing::PaintPattern(host->Screen());
    screen = host->Screen().Clone();
    host->SetMonitors({Monitor{{0, 0, 1280, 960}, scale, true}});
    ASSERT_TRUE(host->Start());
    DragSelection({200, 200}, {right, 400});
    scale_ = scale;
  }
  // The pixel of the toolbar at the scaled place of 1x point (x, y).
  Point Bar(int32_t x, int32_t y) {
    return {S().ToolbarRect.left + ScalePx(x, scale_), S().ToolbarRect.top + ScalePx(y, scale_)};
  }
  Point Menu(int32_t x, int32_t y) {
    return {S().MenuRect.left + ScalePx(x, scale_), S().MenuRect.top + ScalePx(y, scale_)};
  }
  bool PressAt(Point p) {
    host->SetCursor(p.x, p.y);
    return host->LeftDown();
  }
  float scale_ = 1;
};

TEST_F(ScaledUiTest, ToolbarAtTwiceTheSizeSitsTwiceAsFarBelow) {
  StartAt(2);
  // 658 x 56, right-aligned, 12 px below the selection.
  EXPECT_EQ(S().ToolbarRect, (IntRect{342, 412, 1000, 468}));
  for (int32_t x : {6, 200, 400, 650}) EXPECT_EQ(Frame().At(342 + x, 412 + 4), kBackground) << x;
  // The background ends at row 51; rows 52-55 show the frame under it.
  EXPECT_EQ(Frame().At(542, 412 + 52), testing::Dimmed(screen.At(542, 464)));
  EXPECT_EQ(Frame().At(542, 412 + 51), MakePixel(255, 0, 174, 255));  // its outline, 2 px thick
  EXPECT_EQ(Frame().At(542, 412 + 50), MakePixel(255, 0, 174, 255));
}

TEST_F(ScaledUiTest, HoverHighlightsTheButtonWhoseScaledPlaceItIsOn) {
  for (float scale : {1.5f, 2.0f}) {
    StartAt(scale);
    for (const auto& [middle, index] : kButtonMiddles) {
      const Point p = Bar(middle, 12);
      ASSERT_TRUE(host->MoveTo(p.x, p.y + 1));
      const Point row4 = Bar(middle, 4);
      EXPECT_EQ(Frame().At(row4.x, row4.y + 1), kHighlight) << scale << " button " << index;
      for (const auto& [other, otherIndex] : kButtonMiddles) {
        if (otherIndex == index) continue;
        const Point q = Bar(other, 4);
        EXPECT_EQ(Frame().At(q.x, q.y + 1), kBackground) << scale << " " << index << " lit " << otherIndex;
      }
    }
    host.reset();
  }
}

TEST_F(ScaledUiTest, PressOnTheScaledFinishCopiesAndOnItsOneXPlaceDoesNot) {
  StartAt(2);
  ASSERT_TRUE(PressAt({S().ToolbarRect.left + 300, S().ToolbarRect.top + 12}));  // undo at 2x
  ASSERT_TRUE(host->LeftUp());
  EXPECT_FALSE(host->Clipboard().has_value());
  EXPECT_FALSE(PressAt(Bar(300, 12)));
  ASSERT_TRUE(host->Clipboard().has_value());
  EXPECT_EQ(host->Clipboard()->Width(), 800);  // outputs stay in physical pixels
  EXPECT_EQ(host->Clipboard()->Height(), 200);
}

TEST_F(ScaledUiTest, ScaledCancelEndsAtOneAndAHalf) {
  StartAt(1.5f);
  EXPECT_EQ(S().ToolbarRect, (IntRect{1000 - 494, 409, 1000, 409 + 42}));
  EXPECT_FALSE(PressAt(Bar(250, 12)));
  EXPECT_EQ(host->ExitCode(), 0);
  EXPECT_FALSE(host->Clipboard().has_value());
}

TEST_F(ScaledUiTest, MenuOpensAtItsScaleAndItsRowsActAtTheirScaledPlaces) {
  StartAt(2);
  host->SetCursor(300, 250);
  host->RightUp();
  EXPECT_EQ(S().MenuRect, (IntRect{308, 258, 308 + 310, 258 + 512}));
  const Canvas& normal = MenuImage(2).Pixels();
  const Canvas& hover = MenuHoverImage(2).Pixels();
  ASSERT_EQ(normal.Width(), 302);
  // The picture lies 4 px in, pixel for pixel; hovering item 2 (1x rows
  // 24-46) shows its rows of the highlighted picture.
  EXPECT_EQ(Frame().At(308 + 4 + 100, 258 + 4 + 300), normal.At(100, 300));
  host->MoveTo(Menu(80, 30).x, Menu(80, 30).y);
  for (int32_t y = 44; y < 88; y += 5) EXPECT_EQ(Frame().At(308 + 4 + 150, 258 + 4 + y), hover.At(150, y)) << y;
  EXPECT_EQ(Frame().At(308 + 4 + 150, 258 + 4 + 90), normal.At(150, 90));
  EXPECT_FALSE(PressAt(Menu(80, 170)));  // "完成截图"
  ASSERT_TRUE(host->Clipboard().has_value());
  EXPECT_EQ(host->Clipboard()->Width(), 800);
}

TEST_F(ScaledUiTest, MenuAtOneAndAHalfFlipsByItsScaledSize) {
  StartAt(1.5f, 1200);
  host->SetCursor(1100, 300);  // room for the 1x menu, not for the 1.5x one
  host->RightUp();
  EXPECT_EQ(S().MenuRect.left, 1100 - 239);
  EXPECT_EQ(S().MenuRect.top, 306);
  EXPECT_EQ(S().MenuRect.Width(), 233);
  EXPECT_EQ(S().MenuRect.Height(), 384);
  EXPECT_FALSE(PressAt(Menu(80, 240)));  // "退出截图"
  EXPECT_EQ(host->ExitCode(), 0);
}

TEST(ScaledArtwork, ScalesBetweenUseTheNextLargerResizedAndBeyondTwoTheLargest) {
  HeadlessHost host(8, 8);
  EXPECT_EQ(ArtworkScaleFor(1), 1.0f);
  EXPECT_EQ(ArtworkScaleFor(1.25f), 1.5f);
  EXPECT_EQ(ArtworkScaleFor(1.5f), 1.5f);
  EXPECT_EQ(ArtworkScaleFor(1.75f), 2.0f);
  EXPECT_EQ(ArtworkScaleFor(3), 2.0f);
  const Canvas& made = ToolbarStripImage(1.5f).Pixels();
  const Canvas& between = ToolbarStripImage(1.25f).Pixels();
  ASSERT_EQ(made.Width(), 488);
  ASSERT_EQ(between.Width(), 406);
  ASSERT_EQ(between.Height(), 30);
  const Canvas expected = ResampleByArea(made, 406, 30);
  for (int32_t y = 0; y < 30; ++y)
    for (int32_t x = 0; x < 406; ++x) ASSERT_EQ(between.At(x, y), expected.At(x, y)) << x << "," << y;
  EXPECT_EQ(MenuImage(3).Pixels().Width(), 453);
  EXPECT_EQ(MenuHoverImage(3).Pixels().Height(), 750);
  EXPECT_EQ(&ToolbarStripImage(1.25f), &ToolbarStripImage(1.25f));  // made once
}

TEST(ScaledArtwork, AreaResizingAveragesWhatEachPixelCovers) {
  Canvas src(2, 1);
  src.Set(0, 0, MakePixel(255, 0, 0, 0));
  src.Set(1, 0, MakePixel(255, 90, 0, 0));
  const Canvas up = ResampleByArea(src, 3, 1);
  EXPECT_EQ(up.At(0, 0), MakePixel(255, 0, 0, 0));
  EXPECT_EQ(up.At(1, 0), MakePixel(255, 45, 0, 0));
  EXPECT_EQ(up.At(2, 0), MakePixel(255, 90, 0, 0));
  Canvas wide(4, 2);
  wide.Fill(MakePixel(200, 100, 0, 0));
  wide.Set(3, 1, 0);
  const Canvas down = ResampleByArea(wide, 2, 1);
  EXPECT_EQ(down.At(0, 0), MakePixel(200, 100, 0, 0));
  EXPECT_EQ(down.At(1, 0), MakePixel(150, 75, 0, 0));
  EXPECT_TRUE(ResampleByArea(Canvas{}, 3, 3).Empty());
}

}  // namespace
}  // namespace rc

namespace rc {
namespace {

constexpr Pixel kBlue = MakePixel(255, 0, 174, 255);

class ScaledFrameTest : public testing::CaptureTest {
 protected:
  void SetUp() override {
    host = std::make_unique<HeadlessHost>(1280, 960);
    testing::PaintPattern(host->Screen());
    screen = host->Screen().Clone();
    host->SetMonitors({Monitor{{0, 0, 1280, 960}, 2, true}});
    ASSERT_TRUE(host->Start());
  }
  Pixel Dim(int32_t x, int32_t y) { return testing::Dimmed(screen.At(x, y)); }
  void ExpectSquare(int32_t left, int32_t top, int32_t size) {
    for (int32_t y = top; y < top + size; ++y)
      for (int32_t x = left; x < left + size; ++x) ASSERT_EQ(Frame().At(x, y), kBlue) << x << "," << y;
    EXPECT_NE(Frame().At(left - 1, top + 1), kBlue);
    EXPECT_NE(Frame().At(left + size, top + 1), kBlue);
  }
};

TEST(FrameMetrics, WholePixelsThatCentreTheHandlesOnTheLine) {
  EXPECT_EQ(FrameMetricsAt(1), (FrameMetrics{1, 5}));
  EXPECT_EQ(FrameMetricsAt(1.25f), (FrameMetrics{1, 7}));
  EXPECT_EQ(FrameMetricsAt(1.5f), (FrameMetrics{2, 8}));
  EXPECT_EQ(FrameMetricsAt(2), (FrameMetrics{2, 10}));
  EXPECT_EQ(FrameMetricsAt(3), (FrameMetrics{3, 15}));
}

TEST_F(ScaledFrameTest, OutlineTwoPixelsThickAndHandlesTenWide) {
  DragSelection({200, 200}, {1000, 400});
  for (int32_t y : {230, 270, 350, 380}) {
    EXPECT_EQ(Frame().At(200, y), kBlue);
    EXPECT_EQ(Frame().At(201, y), kBlue);
    EXPECT_EQ(Frame().At(202, y), screen.At(202, y));
    EXPECT_EQ(Frame().At(199, y), Dim(199, y));
    EXPECT_EQ(Frame().At(1001, y), kBlue);
    EXPECT_EQ(Frame().At(1002, y), Dim(1002, y));
  }
  EXPECT_EQ(Frame().At(500, 401), kBlue);
  EXPECT_EQ(Frame().At(500, 402), Dim(500, 402));
  ExpectSquare(196, 196, 10);   // top left
  ExpectSquare(592, 196, 10);   // top middle, two line widths further left
  ExpectSquare(596, 396, 10);   // bottom middle
  ExpectSquare(996, 296, 10);   // right middle
  ExpectSquare(996, 396, 10);   // bottom right
}

TEST_F(ScaledFrameTest, LabelIsTwiceAsLargeAndTwiceAsFarAbove) {
  DragSelection({200, 200}, {1000, 400});
  const auto underLabel = [this](int32_t x, int32_t y) {
    return BlendPixel(Dim(x, y), MakePixel(255, 0, 0, 0), 128, true);
  };
  EXPECT_EQ(Frame().At(343, 154), underLabel(343, 154));
  EXPECT_EQ(Frame().At(343, 193), underLabel(343, 193));
  EXPECT_EQ(Frame().At(344, 170), Dim(344, 170));
  EXPECT_EQ(Frame().At(343, 153), Dim(343, 153));
  EXPECT_EQ(Frame().At(343, 194), Dim(343, 194));
}

TEST_F(ScaledFrameTest, MagnifierIsTwiceAsLargeAndReadsTheSamePixel) {
  host->MoveTo(640, 480);
  // The panel at (650, 530), 248 x 242 with its shadow 6 px further.
  EXPECT_NE(Frame().At(650 + 240, 530 + 200), Dim(890, 730));
  EXPECT_EQ(Frame().At(650 + 260, 530 + 200), Dim(910, 730));
  for (Point p : {Point{640, 480}, Point{15, 12}, Point{1270, 950}, Point{333, 101}}) {
    EXPECT_EQ(CrossHairColour(p, 2), CrossHairColour(p, 1)) << p.x << "," << p.y;
    EXPECT_EQ(CrossHairColour(p, 1.5f), CrossHairColour(p, 1)) << p.x << "," << p.y;
  }
}

}  // namespace
}  // namespace rc
