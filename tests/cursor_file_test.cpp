#include "gfx/cursor_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "assets/embedded.h"

namespace rc {
namespace {

std::vector<uint8_t> OverlayBytes() {
  return {assets::overlay_cursor_cur.begin(), assets::overlay_cursor_cur.end()};
}

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A 2 x 2 cursor with a hot spot at (1, 0), built by hand for one bit depth.
// Bottom-up rows: the file's first row is the picture's bottom row.
std::vector<uint8_t> TinyCursor(uint16_t bpp, const std::vector<uint8_t>& palette,
                                const std::vector<uint8_t>& xorRows, const std::vector<uint8_t>& andRows) {
  std::vector<uint8_t> b;
  b.reserve(6 + 16 + 40 + palette.size() + xorRows.size() + andRows.size());
  b.resize(6 + 16 + 40);
  b[2] = 2, b[4] = 1, b[6] = 2, b[7] = 2, b[10] = 1;
  Put32(b, 14, static_cast<uint32_t>(40 + palette.size() + xorRows.size() + andRows.size()));
  Put32(b, 18, 22);
  Put32(b, 22, 40), Put32(b, 26, 2), Put32(b, 30, 4);
  b[34] = 1, b[36] = static_cast<uint8_t>(bpp);
  b.insert(b.end(), palette.begin(), palette.end());
  b.insert(b.end(), xorRows.begin(), xorRows.end());
  b.insert(b.end(), andRows.begin(), andRows.end());
  return b;
}

TEST(CursorFileTest, OverlayCursorIsTheArrowWithItsTipAsHotSpot) {
  ASSERT_EQ(assets::overlay_cursor_cur.size(), 2238u);
  std::string why;
  const auto image = ParseCursorFile(assets::overlay_cursor_cur, &why);
  ASSERT_TRUE(image.has_value()) << why;
  EXPECT_EQ(image->width, 32);
  EXPECT_EQ(image->height, 32);
  EXPECT_EQ(image->hotSpot, (Point{0, 0}));
  EXPECT_EQ(image->At(0, 0), 0xFFFFFFFFu);  // the tip is white outline
  // Down the left edge and inside the arrow's body everything is opaque.
  for (int y = 0; y < 16; ++y) EXPECT_EQ(AlphaOf(image->At(0, y)), 255) << y;
  EXPECT_EQ(AlphaOf(image->At(4, 10)), 255);
  EXPECT_NE(image->At(4, 10), 0xFFFFFFFFu);  // rainbow fill, not outline
  for (int y = 0; y < 32; ++y)
    for (int x = 24; x < 32; ++x) EXPECT_EQ(image->At(x, y), 0u) << x << "," << y;
}

TEST(CursorFileTest, ReadsEachBitDepthWithItsMask) {
  // Top row: white, palette colour; bottom row: colour, masked out.
  const std::vector<uint8_t> pal2 = {0, 0, 0, 0, 0x30, 0x20, 0x10, 0};
  const std::vector<uint8_t> mask = {0x40, 0, 0, 0, 0x00, 0, 0, 0};  // bottom-right transparent
  const auto one = ParseCursorFile(TinyCursor(1, pal2, {0x40, 0, 0, 0, 0x40, 0, 0, 0}, mask));
  ASSERT_TRUE(one.has_value());
  EXPECT_EQ(one->hotSpot, (Point{1, 0}));
  EXPECT_EQ(one->At(0, 0), 0xFF000000u);
  EXPECT_EQ(one->At(1, 0), 0xFF102030u);
  EXPECT_EQ(one->At(1, 1), 0u);

  std::vector<uint8_t> pal16(16 * 4, 0);
  pal16[15 * 4 + 2] = 0xFF;  // index 15 is red
  const auto four = ParseCursorFile(TinyCursor(4, pal16, {0xF0, 0, 0, 0, 0x0F, 0, 0, 0}, mask));
  ASSERT_TRUE(four.has_value());
  EXPECT_EQ(four->At(0, 0), 0xFF000000u);
  EXPECT_EQ(four->At(1, 0), 0xFFFF0000u);
  EXPECT_EQ(four->At(0, 1), 0xFFFF0000u);

  const auto rgb = ParseCursorFile(TinyCursor(24, {}, {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0}, mask));
  ASSERT_TRUE(rgb.has_value());
  EXPECT_EQ(rgb->At(0, 1), 0xFF030201u);
  EXPECT_EQ(rgb->At(0, 0), 0xFF090807u);
}

TEST(CursorFileTest, ThirtyTwoBitAlphaIsPremultiplied) {
  const std::vector<uint8_t> px = {0, 0, 255, 128, 255, 255, 255, 255, 0, 0, 0, 0, 10, 20, 30, 255};
  const auto image = ParseCursorFile(TinyCursor(32, {}, px, {}));  // no mask: alpha says it all
  ASSERT_TRUE(image.has_value());
  EXPECT_EQ(image->At(0, 1), 0x80800000u);
  EXPECT_EQ(image->At(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(image->At(0, 0), 0u);
  EXPECT_EQ(image->At(1, 0), 0xFF1E140Au);
}

TEST(CursorFileTest, RejectsMalformedFilesSafely) {
  const std::vector<uint8_t> good = OverlayBytes();
  std::string why;
  EXPECT_FALSE(ParseCursorFile({}, &why));
  EXPECT_FALSE(why.empty());
  // Every truncation of the real file is either rejected or still in bounds.
  for (size_t n = 0; n < good.size(); n += 7)
    EXPECT_FALSE(ParseCursorFile(std::span(good.data(), n))) << n;

  auto corrupt = [&](size_t at, uint32_t value) {
    std::vector<uint8_t> b = good;
    Put32(b, at, value);
    return ParseCursorFile(b).has_value();
  };
  EXPECT_FALSE(corrupt(18, 0xFFFFFFF0u));  // image offset far past the end
  EXPECT_FALSE(corrupt(14, 0xFFFFFFFFu));  // image size overflowing
  EXPECT_FALSE(corrupt(26, 100000));       // absurd width
  EXPECT_FALSE(corrupt(30, 63));           // odd stacked height
  EXPECT_FALSE(corrupt(38, 1));            // RLE-compressed
  EXPECT_FALSE(corrupt(54, 300));          // palette larger than 8 bits allow
  EXPECT_FALSE(corrupt(22, 0x474E5089u));  // PNG-compressed entry
  EXPECT_FALSE(corrupt(0, 0x00050000u));   // neither icon nor cursor type
}

}  // namespace
}  // namespace rc
