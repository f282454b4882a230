// The magnifier: where the panel goes, what the zoom shows, the colour
// readout and its hexadecimal helpers.
#include <gtest/gtest.h>

#include "capture_fixture.h"
#include "magnifier/colour_readout.h"
#include "magnifier/magnifier.h"
#include "magnifier/magnifier_panel.h"
#include "overlay/frame.h"

namespace rc {
namespace {

TEST(MagnifierPlacement, FlipsOnlyPastTheRightAndBottomMargins) {
  const Size screen{1920, 1080};
  EXPECT_EQ(MagnifierOrigin({100, 100}, screen), (Point{105, 125}));
  EXPECT_EQ(MagnifierOrigin({1785, 100}, screen), (Point{1790, 125}));
  EXPECT_EQ(MagnifierOrigin({1786, 100}, screen), (Point{1659, 125}));
  EXPECT_EQ(MagnifierOrigin({100, 910}, screen), (Point{105, 935}));
  EXPECT_EQ(MagnifierOrigin({100, 911}, screen), (Point{105, 766}));
  EXPECT_EQ(MagnifierOrigin({1900, 1070}, screen), (Point{1773, 925}));
}

TEST(HexText, ConversionsBothWays) {
  EXPECT_EQ(ToHexText(0), "00");
  EXPECT_EQ(ToHexText(5), "05");
  EXPECT_EQ(ToHexText(15), "0F");
  EXPECT_EQ(ToHexText(16), "10");
  EXPECT_EQ(ToHexText(0x1FF), "1FF");
  EXPECT_EQ(ToHexText(0x53412), "53412");
  EXPECT_EQ(ToHexText(0xFFFFFFFF), "FFFFFFFF");
  EXPECT_EQ(HexTextToInt("0F"), 15u);
  EXPECT_EQ(HexTextToInt("f"), 15u);
  EXPECT_EQ(HexTextToInt("1G"), 16u);
  EXPECT_EQ(HexTextToInt(""), 0u);
  EXPECT_EQ(HexTextToInt("aBcD"), 0xABCDu);
}

TEST(ColourChannels, SplitLikeTheBitsOfTheColour) {
  EXPECT_EQ(SplitColourChannels(0x0000FF), (ColourChannels{255, 0, 0}));
  EXPECT_EQ(SplitColourChannels(0x053412), (ColourChannels{18, 52, 5}));
  EXPECT_EQ(SplitColourChannels(0), (ColourChannels{0, 0, 0}));
  EXPECT_EQ(SplitColourChannels(0x7), (ColourChannels{7, 0, 0}));
  EXPECT_EQ(SplitColourChannels(0x10000), (ColourChannels{0, 0, 1}));
  for (uint32_t c = 0; c < 0x1000000; c += 0x10203) {
    const ColourChannels got = SplitColourChannels(c);
    ASSERT_EQ(got, (ColourChannels{static_cast<int32_t>(c & 0xFF), static_cast<int32_t>((c >> 8) & 0xFF),
                                   static_cast<int32_t>((c >> 16) & 0xFF)}))
        << std::hex << c;
  }
}

class MagnifierTest : public testing::CaptureTest {
 protected:
  void SetUp() override {}
  // A screen of one grey with `colour` at (x, y).
  void StartWithPixel(int32_t x, int32_t y, Pixel colour) {
    host.reset();  // one host at a time: each installs itself as the host
    host = std::make_unique<HeadlessHost>(640, 480);
    host->Screen().Fill(MakePixel(255, 90, 90, 90));
    host->Screen().Set(x, y, colour);
    screen = host->Screen().Clone();
    ASSERT_TRUE(host->Start());
  }
};

// The cross-hair crosses on the zoomed pixel one row above the cursor's:
// its four-pixel rows start at zoom row 3, so row 44 shows source row 10
// of 21, counted from the cursor's row - 11.
TEST_F(MagnifierTest, ReadoutReportsThePixelUnderTheCrossing) {
  StartWithPixel(200, 149, MakePixel(255, 255, 0, 0));
  EXPECT_EQ(ColourReadoutText(CrossHairColour({200, 150})), "RGB:(255,0,0)");
  EXPECT_EQ(ColourReadoutText(CrossHairColour({200, 149})), "RGB:(90,90,90)");
  StartWithPixel(300, 99, MakePixel(255, 0x12, 0x34, 0x05));
  EXPECT_EQ(ColourReadoutText(CrossHairColour({300, 100})), "RGB:(18,52,5)");
  // Past the top edge the zoom shows black.
  EXPECT_EQ(ColourReadoutText(CrossHairColour({10, 0})), "RGB:(0,0,0)");
}

TEST_F(MagnifierTest, PanelShowsTheCleanSnapshotEnlargedBesideTheCursor) {
  CaptureTest::SetUp();
  host->MoveTo(100, 100);  // panel at (105, 125)
  // Zoom pixel (10, 10) is source pixel (1, 1) of the patch from (86, 89).
  EXPECT_EQ(Frame().At(115, 135), screen.At(87, 90));
  EXPECT_EQ(Frame().At(105 + 118, 125 + 80), screen.At(86 + 29, 89 + 19));
  // Left of the panel the screen is dimmed as before.
  EXPECT_EQ(Frame().At(100, 140), testing::Dimmed(screen.At(100, 140)));
  // The panel follows the cursor: its old place is dimmed screen again.
  host->MoveTo(300, 200);
  EXPECT_EQ(Frame().At(115, 135), testing::Dimmed(screen.At(115, 135)));
  EXPECT_EQ(Frame().At(315, 235), screen.At(287, 190));
}

// Every channel of `a` within one of `b`'s.
::testing::AssertionResult WithinRounding(Pixel a, Pixel b) {
  for (int shift = 0; shift < 32; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d < -1 || d > 1) return ::testing::AssertionFailure() << std::hex << a << " vs " << b;
  }
  return ::testing::AssertionSuccess();
}

// The panel comes as one flattened picture; laid over the screen it must
// show what its layers showed laid one by one: the shadow (black at 40,
// shifted 3 px), the body (black at 200), the cross-hair (blue at 200).
TEST_F(MagnifierTest, PanelDarkensTheScreenAsItsShadowBodyAndCrossHairWould) {
  CaptureTest::SetUp();
  host->MoveTo(100, 100);  // panel at (105, 125)
  const Pixel black = MakePixel(255, 0, 0, 0);
  const auto shaded = [&](int32_t x, int32_t y) { return BlendPixel(testing::Dimmed(screen.At(x, y)), black, 40, true); };
  // Right of the body only the shadow reaches.
  EXPECT_TRUE(WithinRounding(Frame().At(105 + 125, 125 + 60), shaded(105 + 125, 125 + 60)));
  // Between the zoom's border and the texts: shadow, then body.
  EXPECT_TRUE(WithinRounding(Frame().At(105 + 60, 125 + 88), BlendPixel(shaded(105 + 60, 125 + 88), black, 200, true)));
  // Where the cross-hair's lines cross, over the zoomed pixel (source (86 + 14, 89 + 10)).
  const Pixel blue = MakePixel(255, 0, 0x7A, 0xB3);
  EXPECT_EQ(Frame().At(105 + 60, 125 + 44), BlendPixel(screen.At(100, 99), blue, 200, true));
  // Above the body's top-right corner nothing is laid.
  EXPECT_EQ(Frame().At(105 + 126, 125 + 1), testing::Dimmed(screen.At(105 + 126, 125 + 1)));
}

TEST_F(MagnifierTest, ZoomShowsBlackPastTheScreenEdge) {
  CaptureTest::SetUp();
  host->MoveTo(3, 3);  // the patch starts 11 columns and 8 rows off screen
  const Pixel black = MakePixel(255, 0, 0, 0);
  EXPECT_EQ(Frame().At(8 + 5, 28 + 5), black);
  EXPECT_EQ(Frame().At(8 + 110, 28 + 80), screen.At(16, 11));  // patch column 27, row 19
}

TEST_F(MagnifierTest, SizeTextReadsTheSelectionBeforeAndDuringTheDrag) {
  CaptureTest::SetUp();
  EXPECT_EQ(SizeLabelText(S().SelectionRect), "0 × 0");
  host->SetCursor(100, 100);
  host->LeftDown();
  host->MoveTo(100, 100);
  EXPECT_EQ(SizeLabelText(S().SelectionRect), "2 × 2");
}

// The panel draws each frame on the pixels it handed out before, but only
// once nobody holds them: a frame still held keeps its pixels and its key.
TEST(MagnifierPanelReuse, AFrameStillHeldIsNeverDrawnOver) {
  Canvas screen(200, 200);
  screen.Fill(MakePixel(255, 200, 10, 10));
  for (int32_t x = 100; x < 200; ++x) {
    for (int32_t y = 0; y < 200; ++y) screen.Set(x, y, MakePixel(255, 10, 10, 200));
  }
  MagnifierPanel panel(1);
  EXPECT_EQ(panel.DrawZoom(screen, {50, 50}), 0x0A0AC8u);  // red as a COLORREF
  panel.DrawTexts("1 × 1", "RGB:(200,10,10)");
  std::shared_ptr<const StillPixels> held = panel.Pixels();
  const Pixel zoomed = held->Pixels().At(10, 10);
  EXPECT_EQ(panel.DrawZoom(screen, {150, 50}), 0xC80A0Au);
  panel.DrawTexts("1 × 1", "RGB:(10,10,200)");
  std::shared_ptr<const StillPixels> next = panel.Pixels();
  EXPECT_EQ(held->Pixels().At(10, 10), zoomed);
  EXPECT_NE(next->Pixels().At(10, 10), zoomed);
  EXPECT_NE(next->Hash(), held->Hash());
  // Let go of, a frame's pixels carry the next one.
  held.reset();
  const Pixel* reused = next->Pixels().Data();
  next.reset();
  panel.DrawZoom(screen, {50, 50});
  EXPECT_EQ(panel.Pixels()->Pixels().Data(), reused);
}

}  // namespace
}  // namespace rc
