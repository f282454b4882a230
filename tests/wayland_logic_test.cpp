// The platform-free parts of the Wayland host: where outputs lie on the
// desktop, how screen buffers and the portal's picture become canvas
// pixels, and which desktop a session runs.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/linux/desktop_backend.h"
#include "platform/wayland/portal_image.h"
#include "platform/wayland/portal_uri.h"
#include "platform/wayland/wayland_layout.h"
#include "platform/wayland/wayland_pixels.h"

namespace rc {
namespace {

TEST(WaylandLayout, OneScaleIsLogicalTimesScale) {
  const std::vector<Box> boxes = PhysicalLayout({{{0, 0, 960, 540}, {1920, 1080}}, {{960, 0, 960, 540}, {1920, 1080}}});
  EXPECT_EQ(boxes[0], (Box{0, 0, 1920, 1080}));
  EXPECT_EQ(boxes[1], (Box{1920, 0, 1920, 1080}));
}

TEST(WaylandLayout, MixedScalesSideBySideStayAdjacent) {
  // A 1x output, then a 2x output right of it, top-aligned.
  const std::vector<Box> boxes = PhysicalLayout({{{0, 0, 800, 600}, {800, 600}}, {{800, 0, 640, 360}, {1280, 720}}});
  EXPECT_EQ(boxes[0], (Box{0, 0, 800, 600}));
  EXPECT_EQ(boxes[1], (Box{800, 0, 1280, 720}));
}

TEST(WaylandLayout, StackedMixedScalesNeverOverlap) {
  // A 2x output above a wider 1x one: the 2x output's columns stretch, so
  // the 1x output below starts lower and is no longer cut by it.
  const std::vector<OutputPlacement> in = {{{0, 0, 400, 300}, {800, 600}}, {{0, 300, 1000, 500}, {1000, 500}}};
  const std::vector<Box> boxes = PhysicalLayout(in);
  EXPECT_EQ(boxes[0], (Box{0, 0, 800, 600}));
  EXPECT_EQ(boxes[1], (Box{0, 600, 1000, 500}));
  EXPECT_TRUE(IntersectBox(boxes[0], boxes[1]).Empty());
}

TEST(WaylandLayout, FractionalScaleAndNegativeOrigin) {
  // 1.5x: 1280 logical units hold 1920 pixels.
  const std::vector<Box> boxes =
      PhysicalLayout({{{-1280, 0, 1280, 720}, {1920, 1080}}, {{0, 0, 1920, 1080}, {1920, 1080}}});
  EXPECT_EQ(boxes[0], (Box{-1920, 0, 1920, 1080}));
  EXPECT_EQ(boxes[1], (Box{0, 0, 1920, 1080}));
}

TEST(WaylandLayout, SurfacePointsMapToOutputPixels) {
  const Box logical{0, 0, 640, 360}, desktop{800, 0, 1280, 720};
  EXPECT_EQ(OutputPointToDesktop(logical, desktop, 0, 0), (Point{800, 0}));
  EXPECT_EQ(OutputPointToDesktop(logical, desktop, 10.75, 20.25), (Point{821, 40}));
  // The far edge stays on the output.
  EXPECT_EQ(OutputPointToDesktop(logical, desktop, 640, 360), (Point{2079, 719}));
}

// The input method's caret box goes back the other way, covering at least
// the caret's pixels even at fractional scales.
TEST(WaylandLayout, DesktopBoxesMapToSurfaceUnits) {
  const Box logical{0, 0, 640, 360}, desktop{800, 0, 1280, 720};
  EXPECT_EQ(DesktopBoxToOutput(logical, desktop, {820, 40, 2, 30}), (Box{10, 20, 1, 15}));
  EXPECT_EQ(DesktopBoxToOutput(logical, desktop, {821, 41, 1, 29}), (Box{10, 20, 1, 15}));
  const Box thirds{0, 0, 1280, 720}, pixels{0, 0, 1920, 1080};  // 1.5x
  EXPECT_EQ(DesktopBoxToOutput(thirds, pixels, {301, 151, 2, 24}), (Box{200, 100, 2, 17}));
  // A caret on the output to the left lies left of this surface.
  EXPECT_EQ(DesktopBoxToOutput(logical, desktop, {700, 10, 2, 20}), (Box{-50, 5, 1, 10}));
}

// A 3 x 2 buffer whose pixel (x, y) holds x + 10 y in its blue byte.
struct TinyBuffer {
  std::vector<uint32_t> words = std::vector<uint32_t>(6);
  TinyBuffer() {
    for (uint32_t y = 0; y < 2; ++y)
      for (uint32_t x = 0; x < 3; ++x) words[y * 3 + x] = x + 10 * y;
  }
  ScreenBufferLayout Layout(int32_t transform, bool yInverted = false) const {
    return {reinterpret_cast<const uint8_t*>(words.data()), 3, 2, 12, false, yInverted, transform};
  }
};

std::vector<uint32_t> Compose(const ScreenBufferLayout& in) {
  Canvas out(RotatedWidth(in), RotatedHeight(in));
  ComposeScreenRows(in, out, {0, 0}, 0, out.Height());
  std::vector<uint32_t> blues;
  for (int32_t y = 0; y < out.Height(); ++y)
    for (int32_t x = 0; x < out.Width(); ++x) {
      EXPECT_EQ(AlphaOf(out.At(x, y)), 255);
      blues.push_back(BlueOf(out.At(x, y)));
    }
  return blues;
}

TEST(WaylandPixels, RotationsFlipsAndInvertedRows) {
  TinyBuffer b;
  EXPECT_EQ(Compose(b.Layout(0)), (std::vector<uint32_t>{0, 1, 2, 10, 11, 12}));
  EXPECT_EQ(Compose(b.Layout(0, true)), (std::vector<uint32_t>{10, 11, 12, 0, 1, 2}));
  EXPECT_EQ(Compose(b.Layout(2)), (std::vector<uint32_t>{12, 11, 10, 2, 1, 0}));
  EXPECT_EQ(Compose(b.Layout(4)), (std::vector<uint32_t>{2, 1, 0, 12, 11, 10}));
  EXPECT_EQ(Compose(b.Layout(1)), (std::vector<uint32_t>{2, 12, 1, 11, 0, 10}));
  EXPECT_EQ(Compose(b.Layout(3)), (std::vector<uint32_t>{10, 0, 11, 1, 12, 2}));
}

TEST(WaylandPixels, ByteOrders) {
  bool swap = true;
  EXPECT_TRUE(ReadableShmFormat(1, swap));  // XRGB8888
  EXPECT_FALSE(swap);
  EXPECT_TRUE(ReadableShmFormat(0x34324258, swap));  // XBGR8888
  EXPECT_TRUE(swap);
  EXPECT_FALSE(ReadableShmFormat(0x36314752, swap));  // RGB565
  const uint32_t xbgr = 0x00332211;  // red 0x11, green 0x22, blue 0x33
  ScreenBufferLayout in{reinterpret_cast<const uint8_t*>(&xbgr), 1, 1, 4, true, false, 0};
  Canvas out(1, 1);
  ComposeScreenRows(in, out, {0, 0}, 0, 1);
  EXPECT_EQ(out.At(0, 0), MakePixel(255, 0x11, 0x22, 0x33));
}

// A picture whose pixel (x, y) holds x in blue and y in green.
Canvas CoordinatePicture(int32_t width, int32_t height) {
  Canvas c(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) c.Row(y)[x] = MakePixel(255, 0, static_cast<uint8_t>(y), static_cast<uint8_t>(x));
  return c;
}

Pixel Coordinate(int32_t x, int32_t y) { return MakePixel(255, 0, static_cast<uint8_t>(y), static_cast<uint8_t>(x)); }

// The portal's picture is at the larger scale (2) everywhere: the scale-2
// output's part is copied pixel for pixel, the scale-1 output's part is
// halved, and the corner no output covers is black.
TEST(PortalImage, MixedScalesMapToEachOutputsPixels) {
  const Canvas picture = CoordinatePicture(16, 4);
  const Box desktop{0, 0, 12, 4};
  Canvas out(desktop.width, desktop.height);
  PlacePortalImage(picture, {{{0, 0, 4, 2}, {0, 0, 8, 4}}, {{4, 0, 4, 1}, {8, 0, 4, 1}}}, desktop, out);
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 8; ++x) EXPECT_EQ(out.At(x, y), Coordinate(x, y)) << x << "," << y;
  for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(out.At(8 + x, 0), Coordinate(8 + 2 * x + 1, 1)) << x;
  EXPECT_EQ(out.At(8, 1), MakePixel(255, 0, 0, 0));
  EXPECT_EQ(out.At(11, 3), MakePixel(255, 0, 0, 0));
}

// A layout left of the origin, at scale 1: the picture as it is, opaque.
TEST(PortalImage, NegativeOriginCopiesExactly) {
  Canvas picture = CoordinatePicture(5, 2);
  picture.Row(0)[0] = MakePixel(0, 0, 0, 0);
  const Box desktop{-3, 0, 5, 2};
  Canvas out(desktop.width, desktop.height);
  PlacePortalImage(picture, {{{-3, 0, 3, 2}, {-3, 0, 3, 2}}, {{0, 0, 2, 2}, {0, 0, 2, 2}}}, desktop, out);
  EXPECT_EQ(out.At(0, 0), MakePixel(255, 0, 0, 0));
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = (y == 0 ? 1 : 0); x < 5; ++x) EXPECT_EQ(out.At(x, y), Coordinate(x, y)) << x << "," << y;
}

TEST(PortalUri, LocalFilesOnly) {
  EXPECT_EQ(LocalPathOfUri("file:///tmp/out.png"), "/tmp/out.png");
  EXPECT_EQ(LocalPathOfUri("file://localhost/home/a/Screenshot%20from%202026.png"), "/home/a/Screenshot from 2026.png");
  EXPECT_EQ(LocalPathOfUri("file:///%E6%88%AA%e5%9b%be.png"), "/截图.png");
  EXPECT_EQ(LocalPathOfUri("file://elsewhere/tmp/out.png"), std::nullopt);
  EXPECT_EQ(LocalPathOfUri("https://example.org/out.png"), std::nullopt);
  EXPECT_EQ(LocalPathOfUri("file://"), std::nullopt);
  EXPECT_EQ(LocalPathOfUri("file:///tmp/a%2"), std::nullopt);
  EXPECT_EQ(LocalPathOfUri("file:///tmp/a%zz"), std::nullopt);
  EXPECT_EQ(LocalPathOfUri("file:///tmp/a%00.png"), std::nullopt);
}

TEST(DesktopBackend, WaylandWhenItsDisplayIsSetUnlessOverridden) {
  EXPECT_EQ(ChooseDesktopBackend(nullptr, "wayland-1", true), DesktopBackend::Wayland);
  EXPECT_EQ(ChooseDesktopBackend(nullptr, nullptr, true), DesktopBackend::X11);
  EXPECT_EQ(ChooseDesktopBackend(nullptr, "", true), DesktopBackend::X11);
  EXPECT_EQ(ChooseDesktopBackend(nullptr, "wayland-1", false), DesktopBackend::X11);
  EXPECT_EQ(ChooseDesktopBackend("x11", "wayland-1", true), DesktopBackend::X11);
  EXPECT_EQ(ChooseDesktopBackend("wayland", nullptr, true), DesktopBackend::Wayland);
  EXPECT_EQ(ChooseDesktopBackend("gdi", nullptr, true), DesktopBackend::Invalid);
}

}  // namespace
}  // namespace rc
