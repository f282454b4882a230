// Desktops of several monitors: what no monitor shows, and where the
// toolbar, menu, magnifier and notices go on a desktop whose origin is
// negative and whose monitors differ in size and scale.
#include <gtest/gtest.h>

#include <vector>

#include "app/monitors.h"
#include "capture_fixture.h"
#include "magnifier/magnifier.h"
#include "output/overlay_notice.h"
#include "toolbar/menu_layout.h"
#include "toolbar/toolbar_layout.h"

namespace rc {
namespace {

constexpr Pixel kBlack = MakePixel(255, 0, 0, 0);
constexpr Pixel kToolbarBackground = MakePixel(255, 222, 238, 255);

TEST(MonitorGeometry, UncoveredAreasAreWhatNoMonitorShows) {
  const std::vector<Monitor> monitors = {{{0, 100, 400, 300}, 2.0f, false}, {{400, 0, 640, 480}, 1.0f, true}};
  EXPECT_EQ(UncoveredAreas({0, 0, 1040, 480}, monitors), (std::vector<Box>{{0, 0, 400, 100}, {0, 400, 400, 80}}));
  // One monitor showing everything leaves nothing; mirrored and
  // overlapping monitors and one reaching past the desktop count once.
  EXPECT_TRUE(UncoveredAreas({0, 0, 640, 480}, {{{0, 0, 640, 480}}}).empty());
  const std::vector<Monitor> overlapping = {{{0, 0, 300, 200}}, {{0, 0, 300, 200}}, {{200, 50, 900, 900}}};
  EXPECT_EQ(UncoveredAreas({0, 0, 500, 300}, overlapping),
            (std::vector<Box>{{300, 0, 200, 50}, {0, 200, 200, 100}}));
  EXPECT_EQ(UncoveredAreas({0, 0, 10, 10}, {}), (std::vector<Box>{{0, 0, 10, 10}}));
}

TEST(MonitorGeometry, HostMonitorsAreCutToTheDesktop) {
  const Box desktop{-100, 0, 300, 200};
  EXPECT_EQ(MonitorsOnDesktop({{{-200, 0, 150, 100}, 1.5f, false}, {{500, 0, 10, 10}}}, desktop),
            (std::vector<Monitor>{{{-100, 0, 50, 100}, 1.5f, false}}));
  EXPECT_EQ(MonitorsOnDesktop({}, desktop), (std::vector<Monitor>{{desktop, 1.0f, true}}));
  EXPECT_EQ(MonitorsOnDesktop({{{0, 0, 0, 50}}}, desktop), (std::vector<Monitor>{{desktop, 1.0f, true}}));
}

TEST(MonitorGeometry, TheSelectionsMonitorHoldsItsBottomRightPixel) {
  const std::vector<Monitor> monitors = {{{0, 0, 100, 100}}, {{100, 0, 100, 50}}};
  // Right edge on column 100: its last pixel is column 99, on the first.
  EXPECT_EQ(MonitorOfCorner(monitors, {10, 10, 100, 40}).rect, (Box{0, 0, 100, 100}));
  EXPECT_EQ(MonitorOfCorner(monitors, {10, 10, 101, 40}).rect, (Box{100, 0, 100, 50}));
  // In the area under the second monitor: the nearer one.
  EXPECT_EQ(MonitorOfCorner(monitors, {150, 60, 190, 90}).rect, (Box{100, 0, 100, 50}));
  EXPECT_EQ(MonitorOfCorner(monitors, {0, 0, 0, 0}).rect, (Box{0, 0, 100, 100}));
}

TEST(MonitorPlacement, ToolbarMenuAndMagnifierFlipAtTheirMonitorsEdges) {
  const Box left{0, 100, 400, 300};
  // 34 px under the selection on its monitor, though the desktop goes on.
  EXPECT_EQ(PlaceToolbar({50, 200, 350, 366}, left), (IntRect{21, 372, 350, 400}));
  EXPECT_EQ(PlaceToolbar({50, 200, 350, 367}, left), (IntRect{21, 168, 350, 196}));
  // No room above on this monitor either; a selection whose top is on
  // another monitor keeps the toolbar inside it on this one.
  EXPECT_EQ(PlaceToolbar({50, 132, 350, 390}, left), (IntRect{21, 137, 350, 165}));
  EXPECT_EQ(PlaceToolbar({50, 20, 350, 390}, left), (IntRect{21, 105, 350, 133}));
  // Never closer than 5 px to the monitor's left edge.
  EXPECT_EQ(PlaceToolbar({410, 50, 600, 100}, {400, 0, 640, 480}), (IntRect{405, 106, 734, 134}));
  // At scale 2 the toolbar, its gaps and the margins double.
  EXPECT_EQ(PlaceToolbar({1000, 500, 2000, 2092}, {0, 0, 3840, 2160}, 2), (IntRect{1342, 2104, 2000, 2160}));
  EXPECT_EQ(PlaceToolbar({1000, 500, 2000, 2093}, {0, 0, 3840, 2160}, 2), (IntRect{1342, 436, 2000, 492}));
  EXPECT_EQ(PlaceToolbar({-1900, 500, -1700, 900}, {-1920, 0, 1920, 1080}, 2), (IntRect{-1910, 912, -1252, 968}));
  const Box right{400, 0, 640, 480};
  EXPECT_EQ(MenuOrigin({871, 100}, right), (Point{875, 104}));
  EXPECT_EQ(MenuOrigin({872, 211}, right), (Point{713, -47}));
  EXPECT_EQ(MagnifierOrigin({265, 225}, left), (Point{270, 250}));
  EXPECT_EQ(MagnifierOrigin({266, 231}, left), (Point{139, 86}));
}

// The left monitor 400 x 300 beside and below the top of the
// primary 640 x 480; the desktop starts 400 px left of the primary's
// origin. In overlay coordinates the left monitor is (0, 100)-(400, 400)
// and the primary (400, 0)-(1040, 480); (0, 0)-(400, 100) and
// (0, 400)-(400, 480) are shown by no monitor.
class MonitorLayoutTest : public testing::CaptureTest {
 protected:
  static constexpr Box kDesktop{-400, 0, 1040, 480};
  void SetUp() override {
    StartCaptureOn(kDesktop, {{{-400, 100, 400, 300}, 1.0f, false}, {{0, 0, 640, 480}, 1.0f, true}});
  }
  // A press, move and release, in desktop coordinates.
  void Select(Point from, Point to) { DragSelection(from, to); }
  Pixel FrameAt(Point overlay) { return Frame().At(overlay.x, overlay.y); }
};

TEST_F(MonitorLayoutTest, OverlayCoversTheDesktopAndWhatNoMonitorShowsIsBlack) {
  EXPECT_EQ(S().Desktop, kDesktop);
  EXPECT_EQ(host->WindowBounds(), kDesktop);
  ASSERT_EQ(S().Monitors.size(), 2u);
  EXPECT_EQ(S().Monitors[0].rect, (Box{0, 100, 400, 300}));
  EXPECT_EQ(S().Monitors[1].rect, (Box{400, 0, 640, 480}));
  for (Point p : {Point{0, 0}, Point{399, 99}, Point{200, 400}, Point{399, 479}}) EXPECT_EQ(FrameAt(p), kBlack);
  for (Point p : {Point{0, 100}, Point{399, 399}, Point{400, 0}, Point{1039, 479}})
    EXPECT_EQ(FrameAt(p), testing::Dimmed(screen.At(p.x, p.y)));
  host->MoveTo(-100, 200);
  EXPECT_EQ(S().Cursor, (Point{300, 200}));
}

TEST_F(MonitorLayoutTest, ClipboardHoldsBlackWhereNoMonitorShowsTheDesktop) {
  Select({-390, 50}, {-300, 150});  // overlay (10, 50)-(100, 150)
  EXPECT_FALSE(host->DoubleClick());
  ASSERT_TRUE(host->Clipboard().has_value());
  const Canvas& copy = *host->Clipboard();
  ASSERT_EQ(copy.Width(), 90);
  ASSERT_EQ(copy.Height(), 100);
  EXPECT_EQ(copy.At(0, 0), kBlack);
  EXPECT_EQ(copy.At(89, 49), kBlack);
  EXPECT_EQ(copy.At(0, 50), screen.At(10, 100) | 0xFF000000u);
  EXPECT_EQ(copy.At(89, 99), screen.At(99, 149) | 0xFF000000u);
}

TEST_F(MonitorLayoutTest, ToolbarGoesAboveASelectionAtItsMonitorsBottom) {
  Select({-350, 200}, {-50, 390});  // overlay (50, 200)-(350, 390)
  EXPECT_EQ(S().ToolbarRect, (IntRect{21, 168, 350, 196}));
  EXPECT_EQ(FrameAt({100, 170}), kToolbarBackground);
  EXPECT_EQ(FrameAt({100, 398}), testing::Dimmed(screen.At(100, 398)));
}

TEST_F(MonitorLayoutTest, ToolbarOfASelectionOnTheOtherMonitorGoesBelowIt) {
  Select({100, 200}, {500, 390});  // overlay (500, 200)-(900, 390)
  EXPECT_EQ(S().ToolbarRect, (IntRect{571, 396, 900, 424}));
  EXPECT_EQ(FrameAt({600, 398}), kToolbarBackground);
}

TEST_F(MonitorLayoutTest, ToolbarOfASelectionNoMonitorShowsStaysOnTheNearestMonitor) {
  Select({-300, 20}, {-100, 60});  // overlay (100, 20)-(300, 60), above the left monitor
  EXPECT_EQ(S().ToolbarRect, (IntRect{5, 100, 334, 128}));
  EXPECT_EQ(FrameAt({100, 102}), kToolbarBackground);
}

TEST_F(MonitorLayoutTest, MagnifierStaysOnTheCursorsMonitor) {
  host->MoveTo(-20, 150);  // 20 px left of the primary: flipped to the left
  // Zoom pixel (10, 10) is source pixel (1, 1) of the patch round the cursor.
  EXPECT_EQ(FrameAt({253 + 10, 175 + 10}), screen.At(380 - 13, 150 - 10));
  EXPECT_EQ(FrameAt({385 + 10, 175 + 10}), testing::Dimmed(screen.At(395, 185)));
  host->MoveTo(-200, 300);  // 100 px above the left monitor's bottom: flipped up
  EXPECT_EQ(FrameAt({205 + 10, 155 + 10}), screen.At(200 - 13, 300 - 10));
  EXPECT_EQ(FrameAt({205 + 10, 325 + 10}), testing::Dimmed(screen.At(215, 335)));
}

TEST_F(MonitorLayoutTest, MenuOpensOnTheCursorsMonitor) {
  Select({-350, 150}, {-50, 395});
  host->SetCursor(-100, 380);
  host->RightUp();
  EXPECT_EQ(S().MenuOpen, 1);
  EXPECT_EQ(S().MenuRect, (IntRect{141, 122, 296, 378}));
}

TEST_F(MonitorLayoutTest, NoticeIsCentredOnTheSelectionsMonitor) {
  Select({-350, 150}, {-50, 300});
  const Canvas before = Frame().Clone();
  ShowOverlayNotice("保存失败");
  S().OverlaySurface.Present();
  EXPECT_NE(FrameAt({200, 100 + 48 + 3}), before.At(200, 151));
  EXPECT_EQ(FrameAt({720, 48 + 3}), before.At(720, 51));
}

TEST_F(MonitorLayoutTest, MovedSelectionCrossesMonitorsAndStopsAtTheDesktopsEdge) {
  Select({100, 200}, {200, 300});  // overlay (500, 200)-(600, 300)
  host->SetCursor(150, 250);
  host->LeftDown();
  host->MoveTo(140, 250);
  host->MoveTo(-250, 250);
  EXPECT_EQ(S().SelectionRect, (IntRect{110, 200, 210, 300}));
  host->MoveTo(-1000, 250);
  EXPECT_EQ(S().SelectionRect, (IntRect{0, 200, 100, 300}));
}

}  // namespace
}  // namespace rc
