#include <gtest/gtest.h>

#include "capture_fixture.h"
#include "overlay/overlay_ops.h"
#include "overlay/frame.h"

namespace rc {
namespace {

constexpr Pixel kBlue = MakePixel(255, 0, 174, 255);

class FrameTest : public testing::CaptureTest {
 protected:
  Pixel Dim(int32_t x, int32_t y) { return testing::Dimmed(screen.At(x, y)); }
  // The dimmed screen under the translucent black label background.
  Pixel UnderLabel(int32_t x, int32_t y) {
    return BlendPixel(Dim(x, y), MakePixel(255, 0, 0, 0), 128, true);
  }
  void ExpectSquare(int32_t left, int32_t top, int32_t size, Pixel p) {
    for (int32_t y = top; y < top + size; ++y)
      for (int32_t x = left; x < left + size; ++x) EXPECT_EQ(Frame().At(x, y), p) << x << "," << y;
  }
};

TEST_F(FrameTest, FirstFrameIsTheSnapshotDimmed) {
  for (int32_t y = 0; y < screen.Height(); y += 37)
    for (int32_t x = 0; x < screen.Width(); x += 41) ASSERT_EQ(Frame().At(x, y), Dim(x, y));
  EXPECT_TRUE(host->Topmost());
  EXPECT_TRUE(host->Layered());
  EXPECT_TRUE(host->Pointer()->IsFile());
}

TEST_F(FrameTest, SelectionIsClearWithABlueOutlineOnItsEdges) {
  DragSelection({100, 100}, {300, 200});
  EXPECT_EQ(Frame().At(150, 150), screen.At(150, 150));
  EXPECT_EQ(Frame().At(104, 101), screen.At(104, 101));
  EXPECT_EQ(Frame().At(299, 190), screen.At(299, 190));
  for (int32_t y = 110; y < 190; y += 7) {
    if (y >= 148 && y <= 152) continue;  // side handles
    EXPECT_EQ(Frame().At(100, y), kBlue) << y;
    EXPECT_EQ(Frame().At(300, y), kBlue) << y;
    EXPECT_EQ(Frame().At(99, y), Dim(99, y)) << y;
    EXPECT_EQ(Frame().At(301, y), Dim(301, y)) << y;
  }
  for (int32_t x = 110; x < 190; x += 9) {
    EXPECT_EQ(Frame().At(x, 100), kBlue) << x;
    EXPECT_EQ(Frame().At(x, 200), kBlue) << x;
    EXPECT_EQ(Frame().At(x, 201), Dim(x, 201)) << x;
  }
  EXPECT_EQ(Frame().At(400, 300), Dim(400, 300));
}

TEST_F(FrameTest, EightHandlesSitOnCornersAndMiddles) {
  DragSelection({100, 100}, {300, 200});
  ExpectSquare(98, 98, 5, kBlue);    // top left
  ExpectSquare(196, 98, 5, kBlue);   // top middle, 2 px further left
  ExpectSquare(298, 98, 5, kBlue);   // top right
  ExpectSquare(98, 148, 5, kBlue);   // left middle
  ExpectSquare(298, 148, 5, kBlue);  // right middle
  ExpectSquare(98, 198, 5, kBlue);   // bottom left
  ExpectSquare(198, 198, 5, kBlue);  // bottom middle
  ExpectSquare(298, 198, 5, kBlue);  // bottom right
  EXPECT_EQ(Frame().At(97, 98), Dim(97, 98));
  EXPECT_EQ(Frame().At(103, 103), screen.At(103, 103));
}

TEST_F(FrameTest, LabelSitsAboveFromTop23AndInsideBelowIt) {
  DragSelection({200, 23}, {400, 200});
  // Above: background from row 0, columns 200..271. Its right edge column
  // carries no text.
  EXPECT_EQ(Frame().At(271, 0), UnderLabel(271, 0));
  EXPECT_EQ(Frame().At(271, 19), UnderLabel(271, 19));
  EXPECT_EQ(Frame().At(272, 10), Dim(272, 10));
  EXPECT_EQ(Frame().At(271, 20), Dim(271, 20));

  ResetSelection();
  DragSelection({200, 22}, {400, 200});
  // Inside: from row 23 (top + 1) over the clear selection.
  const Pixel clearUnderLabel = BlendPixel(screen.At(271, 23), MakePixel(255, 0, 0, 0), 128, true);
  EXPECT_EQ(Frame().At(271, 23), clearUnderLabel);
  EXPECT_EQ(Frame().At(271, 10), Dim(271, 10));
}

TEST_F(FrameTest, LabelTextIsWhiteAndReadsTheSize) {
  DragSelection({200, 100}, {400, 200});
  EXPECT_EQ(SizeLabelText(S().SelectionRect), "200 × 100");
  int bright = 0;
  for (int32_t y = 77; y < 97; ++y)
    for (int32_t x = 200; x < 272; ++x)
      if (RedOf(Frame().At(x, y)) > 200 && GreenOf(Frame().At(x, y)) > 200) ++bright;
  EXPECT_GT(bright, 20);
}

// No click completes an empty selection, but drawing one stays defined.
TEST_F(FrameTest, ZeroSizeSelectionIsDrawnOneByOneAtTheCorner) {
  S().SelectionComplete = 1;
  RedrawFrame(RedrawOption::Clear);
  S().OverlaySurface.Present();
  EXPECT_EQ(SizeLabelText(S().SelectionRect), "0 × 0");
  // The corner handles cover the 1 x 1 area; the label lies inside from row 1.
  for (int32_t x = 0; x < 3; ++x) EXPECT_EQ(Frame().At(x, 0), kBlue) << x;
  EXPECT_EQ(Frame().At(71, 1), BlendPixel(Dim(71, 1), MakePixel(255, 0, 0, 0), 128, true));
  EXPECT_EQ(Frame().At(400, 300), Dim(400, 300));
}

TEST_F(FrameTest, RedrawFrameKeepsOrClearsToolbarAndMenuRects) {
  DragSelection({100, 100}, {300, 200});
  S().ToolbarRect = {1, 2, 3, 4};
  S().MenuRect = {5, 6, 7, 8};
  RedrawFrame(RedrawOption::KeepRects);
  EXPECT_EQ(S().ToolbarRect, (IntRect{1, 2, 3, 4}));
  RedrawFrame(RedrawOption::Clear);
  EXPECT_TRUE(S().ToolbarRect.IsZero());
  EXPECT_TRUE(S().MenuRect.IsZero());
}

TEST_F(FrameTest, SelectionAtTheScreenEdgeClipsItsHandles) {
  DragSelection({500, 400}, {640, 480});
  EXPECT_EQ(Frame().At(639, 479), kBlue);
  EXPECT_EQ(Frame().At(600, 450), screen.At(600, 450));
}

}  // namespace
}  // namespace rc

namespace rc {
namespace {

// The program presents again what the system lost of its window, and each
// message's changes reach the screen as one update, however many boxes.
TEST_F(FrameTest, ALostAreaIsPresentedAgainAndAFrameIsOneUpdate) {
  DragSelection({100, 100}, {300, 200});
  const Canvas before = Frame().Clone();
  host->LoseArea({250, 150, 120, 90});
  const int frames = host->PresentedFrames();
  host->Send(Message{});  // any message: an expose comes as one of no kind
  EXPECT_EQ(host->PresentedFrames(), frames + 1);
  for (int32_t y = 140; y < 250; y += 3)
    for (int32_t x = 240; x < 380; x += 3) ASSERT_EQ(Frame().At(x, y), before.At(x, y)) << x << "," << y;

  host->ClearPresentedBoxes();
  host->MoveTo(150, 150);
  host->LeftDown();
  host->MoveTo(150, 150);  // the first step only records the grab
  host->ClearPresentedBoxes();
  const int beforeMove = host->PresentedFrames();
  host->MoveTo(170, 160);  // moving the selection changes several boxes
  EXPECT_GT(host->PresentedBoxes().size(), 1u);
  EXPECT_EQ(host->PresentedFrames(), beforeMove + 1);
}

}  // namespace
}  // namespace rc
