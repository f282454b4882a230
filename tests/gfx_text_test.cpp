#include <gtest/gtest.h>

#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_string_format.h"
#include "gfx/status.h"
#include "platform/freetype/text_freetype.h"
#include "platform/headless/headless_host.h"

namespace rc {
namespace {

int CountInked(const TextMask& mask) {
  int n = 0;
  for (uint8_t c : mask.coverage) n += c != 0;
  return n;
}

TEST(FreeTypeText, RendersTheLabelFontWithFallback) {
  const TextMask label = RenderTextFreeType("1920 × 1080", {"微软雅黑", 11});
  ASSERT_GT(label.width, 40);
  ASSERT_EQ(label.coverage.size(), static_cast<size_t>(label.width) * label.height);
  EXPECT_GT(CountInked(label), 50);
  // The line box starts above the digits, which sit on the baseline.
  EXPECT_GT(label.top, 0);
  EXPECT_LT(label.top + label.height, 16);
  EXPECT_GE(label.left, 0);
  // Chinese text renders too, and an unknown family falls back to a real font.
  EXPECT_GT(CountInked(RenderTextFreeType("完成截图", {"微软雅黑", 11})), 20);
  EXPECT_GT(CountInked(RenderTextFreeType("RGB:(18,52,5)", {"No Such Family 123", 11})), 20);
}

TEST(FreeTypeText, OddInputGivesASaneMask) {
  EXPECT_EQ(RenderTextFreeType("", {"微软雅黑", 11}).width, 0);
  EXPECT_EQ(RenderTextFreeType("abc", {"微软雅黑", 0}).width, 0);
  const TextMask broken = RenderTextFreeType(std::string("A\xff\xe4\xb8", 4), {"微软雅黑", 11});
  EXPECT_EQ(broken.coverage.size(), static_cast<size_t>(broken.width) * broken.height);
  EXPECT_GT(broken.width, 0);
}

TEST(DrawString, WhiteTextStaysInsideTheLayoutBox) {
  HeadlessHost host(800, 600);
  GpGraphics g;
  GpFont font;
  GpSolidBrush brush;
  ASSERT_TRUE(g.CreateCanvas(72, 20));
  ASSERT_TRUE(font.Create("微软雅黑", 11));
  ASSERT_TRUE(brush.Create(0xFFFFFFFF));
  // Long enough to be cut off at the right edge of the box.
  ASSERT_TRUE(g.DrawString("8888 × 8888888", font, brush, RectF{8, 2, 62, 14}, GpStringFormat{}));
  int inside = 0;
  for (int32_t y = 0; y < 20; ++y) {
    for (int32_t x = 0; x < 72; ++x) {
      const Pixel p = g.CanvasDC().At(x, y);
      const bool inBox = x >= 8 && x < 70 && y >= 2 && y < 16;
      if (!inBox) {
        ASSERT_EQ(p, 0u) << "at (" << x << ", " << y << ")";
      }
      // White at any coverage: every colour channel equals alpha.
      if (p != 0) {
        EXPECT_TRUE(RedOf(p) == AlphaOf(p) && BlueOf(p) == AlphaOf(p)) << std::hex << p;
      }
      inside += p != 0;
    }
  }
  EXPECT_GT(inside, 60);
  // The first glyph starts after the layout box's small left padding.
  for (int32_t y = 0; y < 20; ++y) EXPECT_EQ(g.CanvasDC().At(8, y), 0u) << y;
}

TEST(DrawString, NeedsAFontAndABrush) {
  HeadlessHost host(100, 100);
  GpGraphics g;
  GpFont font;
  GpSolidBrush brush;
  ASSERT_TRUE(g.CreateCanvas(10, 10));
  ASSERT_TRUE(brush.Create(0xFFFFFFFF));
  EXPECT_FALSE(g.DrawString("x", font, brush, RectF{0, 0, 10, 10}, GpStringFormat{}));
  EXPECT_EQ(LastStatus(), GpStatus::InvalidParameter);
  EXPECT_FALSE(font.Create("微软雅黑", -3));
  EXPECT_FALSE(font.Holds());
}

}  // namespace
}  // namespace rc
