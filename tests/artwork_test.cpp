// The embedded artwork: sizes, opacity and the colours its layout fixes.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/headless/headless_host.h"
#include "toolbar/artwork.h"

namespace rc {
namespace {

struct Rgba {
  uint32_t r, g, b, a;
};

// The straight colour of a decoded (premultiplied) pixel of an opaque spot.
Rgba At(const Canvas& c, int32_t x, int32_t y) {
  const Pixel p = c.At(x, y);
  return {RedOf(p), GreenOf(p), BlueOf(p), AlphaOf(p)};
}

void ExpectOpaque(const Canvas& c, int32_t x, int32_t y, uint32_t r, uint32_t g, uint32_t b) {
  const Rgba p = At(c, x, y);
  EXPECT_EQ(p.a, 255u) << x << "," << y;
  EXPECT_EQ(p.r, r) << x << "," << y;
  EXPECT_EQ(p.g, g) << x << "," << y;
  EXPECT_EQ(p.b, b) << x << "," << y;
}

TEST(Artwork, ToolbarStripKeepsItsIconsInTheirColumns) {
  HeadlessHost host(8, 8);
  const Canvas& strip = ToolbarStripImage().Pixels();
  ASSERT_EQ(strip.Width(), 325);
  ASSERT_EQ(strip.Height(), 24);
  for (int32_t x : {0, 100, 324}) {
    EXPECT_EQ(AlphaOf(strip.At(x, 0)), 5u);
    EXPECT_EQ(AlphaOf(strip.At(x, 23)), 5u);
  }
  ExpectOpaque(strip, 135, 12, 127, 180, 221);
  ExpectOpaque(strip, 232, 12, 127, 180, 221);
  EXPECT_LT(AlphaOf(strip.At(135, 3)), AlphaOf(strip.At(135, 8)));
  EXPECT_EQ(AlphaOf(strip.At(135, 2)), 0u);
  EXPECT_EQ(AlphaOf(strip.At(135, 21)), 0u);
  ExpectOpaque(strip, 222, 10, 60, 60, 60);  // the drop arrow
  EXPECT_EQ(AlphaOf(strip.At(222, 14)), 0u);
  // Columns outside every icon stay clear in rows 1-22.
  const std::vector<std::pair<int32_t, int32_t>> used = {
      {8, 24}, {34, 50}, {60, 75}, {86, 102}, {112, 127}, {135, 136}, {146, 162},
      {172, 188}, {199, 215}, {218, 226}, {232, 233}, {244, 257}, {270, 286}, {292, 315}};
  for (int32_t x = 0; x < 325; ++x) {
    bool inIcon = false;
    for (const auto& [first, last] : used) inIcon = inIcon || (x >= first && x <= last);
    if (inIcon) continue;
    for (int32_t y = 1; y <= 22; ++y) ASSERT_EQ(AlphaOf(strip.At(x, y)), 0u) << x << "," << y;
  }
}

TEST(Artwork, MenuPicturesShareTheirLayout) {
  HeadlessHost host(8, 8);
  const Canvas& normal = MenuImage().Pixels();
  const Canvas& hover = MenuHoverImage().Pixels();
  for (const Canvas* c : {&normal, &hover}) {
    ASSERT_EQ(c->Width(), 151);
    ASSERT_EQ(c->Height(), 250);
    for (int32_t y = 0; y < 250; ++y)
      for (int32_t x = 0; x < 151; ++x) ASSERT_EQ(AlphaOf(c->At(x, y)), 255u) << x << "," << y;
    ExpectOpaque(*c, 26, 134, 183, 195, 204);
    ExpectOpaque(*c, 124, 134, 183, 195, 204);
    ExpectOpaque(*c, 125, 134, 255, 255, 255);
    ExpectOpaque(*c, 126, 204, 181, 194, 204);
    ExpectOpaque(*c, 127, 204, 255, 255, 255);
    ExpectOpaque(*c, 80, 133, 255, 255, 255);
  }
  ExpectOpaque(normal, 2, 1, 232, 237, 238);  // the icon column
  ExpectOpaque(normal, 30, 1, 255, 255, 255);
  // Each highlighted row runs from the top colour to the bottom colour.
  for (int32_t top : {0, 22, 110, 136, 180, 206, 228}) {
    ExpectOpaque(hover, 30, top, 63, 152, 217);
    ExpectOpaque(hover, 148, top + 21, 48, 134, 198);
  }
}

TEST(Artwork, CaptionsAreDarkOnTheNormalRowsAndWhiteOnTheHighlighted) {
  HeadlessHost host(8, 8);
  const Canvas& normal = MenuImage().Pixels();
  const Canvas& hover = MenuHoverImage().Pixels();
  for (int32_t top : {0, 22, 44, 66, 88, 110, 136, 158, 180, 206, 228}) {
    int dark = 0, white = 0;
    for (int32_t y = top; y < top + 22; ++y)
      for (int32_t x = 30; x < 151; ++x) {
        const Rgba n = At(normal, x, y);
        const Rgba h = At(hover, x, y);
        // Anti-aliased strokes: count the pixels near the caption colour.
        dark += (n.r < 80 && n.g < 90 && n.b < 100) ? 1 : 0;
        white += (h.r > 220 && h.g > 220 && h.b > 220) ? 1 : 0;
      }
    EXPECT_GT(dark, 10) << top;
    EXPECT_GT(white, 10) << top;
  }
}

}  // namespace
}  // namespace rc

namespace rc {
namespace {

// The larger artwork is the same layout drawn larger.
TEST(Artwork, LargerPicturesKeepTheLayoutAtTheirScale) {
  HeadlessHost host(8, 8);
  const Canvas& strip = ToolbarStripImage(2).Pixels();
  ASSERT_EQ(strip.Width(), 650);
  ASSERT_EQ(strip.Height(), 48);
  ExpectOpaque(strip, 270, 24, 127, 180, 221);
  ExpectOpaque(strip, 465, 25, 127, 180, 221);
  EXPECT_EQ(AlphaOf(strip.At(60, 20)), 0u);  // between the first two tools
  EXPECT_EQ(ToolbarStripImage(1.5f).Pixels().Height(), 36);
  for (float scale : {1.5f, 2.0f}) {
    const Canvas& normal = MenuImage(scale).Pixels();
    const Canvas& hover = MenuHoverImage(scale).Pixels();
    ASSERT_EQ(normal.Width(), std::lround(151 * scale));
    ASSERT_EQ(hover.Height(), std::lround(250 * scale));
    const auto at = [scale](int32_t v) { return static_cast<int32_t>(v * scale); };
    ExpectOpaque(normal, at(2), at(1), 232, 237, 238);
    ExpectOpaque(hover, at(30), at(22), 63, 152, 217);
    ExpectOpaque(hover, at(148), at(43) + 1, 48, 134, 198);
  }
}

}  // namespace
}  // namespace rc
