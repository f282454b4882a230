// The picture wrappers and the two byte operations the output paths use:
// the screen as a BMP file, and cutting a piece out of an encoded picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "gfx/gp_image.h"
#include "gfx/image_format.h"
#include "gfx/status.h"
#include "output/crop_image.h"
#include "output/dc_to_bmp.h"
#include "platform/headless/headless_host.h"

namespace rc {
namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Every pixel different: red = x, green = y, blue = 7.
Canvas Numbered(int32_t w, int32_t h) {
  Canvas c(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) c.Set(x, y, MakePixel(255, x, y, 7));
  }
  return c;
}

bool StartsWith(const std::vector<uint8_t>& bytes, std::string_view prefix) {
  return bytes.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), bytes.begin(),
                    [](char a, uint8_t b) { return static_cast<uint8_t>(a) == b; });
}

class ImageBytesTest : public ::testing::Test {
 protected:
  Canvas Decode(const std::vector<uint8_t>& bytes) {
    GpImage image;
    EXPECT_TRUE(image.LoadFromBytes(bytes));
    return image.Pixels().Clone();
  }

  HeadlessHost host_{8, 8};
};

TEST_F(ImageBytesTest, ScreenBmpHasTheFixedHeaderAndBottomRowFirst) {
  const Canvas screen = Numbered(5, 3);
  const std::vector<uint8_t> bmp = DcToBmpBytes(screen, 5, 3);
  ASSERT_EQ(bmp.size(), 54u + 5 * 3 * 4);
  EXPECT_TRUE(StartsWith(bmp, "BM"));
  EXPECT_EQ(U32At(bmp, 2), bmp.size());
  EXPECT_EQ(U32At(bmp, 10), 54u);
  EXPECT_EQ(U32At(bmp, 14), 40u);
  EXPECT_EQ(U32At(bmp, 18), 5u);
  EXPECT_EQ(U32At(bmp, 22), 3u);
  EXPECT_EQ(U32At(bmp, 26), 1u | (32u << 16));  // planes, bit count
  EXPECT_EQ(U32At(bmp, 30), 0u);
  EXPECT_EQ(U32At(bmp, 34), 5u * 3 * 4);
  for (size_t at = 38; at < 54; ++at) EXPECT_EQ(bmp[at], 0) << at;
  // The first stored pixel is (0, 2): blue, green, red, alpha.
  EXPECT_EQ(std::vector<uint8_t>(bmp.begin() + 54, bmp.begin() + 58), (std::vector<uint8_t>{7, 2, 0, 255}));
  EXPECT_EQ(U32At(bmp, 54 + 4 * (2 * 5 + 4)), MakePixel(255, 4, 0, 7)) << "last stored pixel is (4, 0)";
  EXPECT_EQ(Decode(bmp).At(3, 1), screen.At(3, 1));
}

TEST_F(ImageBytesTest, ScreenBmpSizeEdges) {
  EXPECT_TRUE(DcToBmpBytes(Numbered(2, 2), 0, 2).empty());
  EXPECT_TRUE(DcToBmpBytes(Numbered(2, 2), 2, -1).empty());
  EXPECT_TRUE(DcToBmpBytes(Numbered(2, 2), 40000, 40000).empty()) << "larger than the 32-bit size fields";
  // Asked for more than the canvas holds: the rest is zero, nothing is read past it.
  const std::vector<uint8_t> bigger = DcToBmpBytes(Numbered(2, 2), 3, 3);
  ASSERT_EQ(bigger.size(), 54u + 36);
  EXPECT_EQ(U32At(bigger, 54), 0u) << "bottom row lies below the canvas";
  EXPECT_EQ(ColourTableSize(1), 8u);
  EXPECT_EQ(ColourTableSize(4), 64u);
  EXPECT_EQ(ColourTableSize(8), 1024u);
  EXPECT_EQ(ColourTableSize(24), 0u);
  EXPECT_EQ(ColourTableSize(32), 0u);
}

TEST_F(ImageBytesTest, CropKeepsTheSourceFormatWhenNoneIsAsked) {
  const std::vector<uint8_t> bmp = DcToBmpBytes(Numbered(20, 10), 20, 10);
  std::string format;
  const std::vector<uint8_t> piece = CropImageBytes(bmp, 3, 4, 5, 2, format);
  EXPECT_EQ(format, kImageFormatBmp);
  ASSERT_TRUE(StartsWith(piece, "BM"));
  const Canvas cut = Decode(piece);
  ASSERT_EQ(cut.Width(), 5);
  ASSERT_EQ(cut.Height(), 2);
  EXPECT_EQ(cut.At(0, 0), MakePixel(255, 3, 4, 7));
  EXPECT_EQ(cut.At(4, 1), MakePixel(255, 7, 5, 7));

  GpBitmap picture;
  ASSERT_TRUE(picture.Create(6, 6));
  const std::vector<uint8_t> png = picture.SaveToBytes(std::string(kImageFormatPng));
  format.clear();
  EXPECT_TRUE(StartsWith(CropImageBytes(png, 1, 1, 2, 2, format), "\x89PNG"));
  EXPECT_EQ(format, kImageFormatPng);
}

TEST_F(ImageBytesTest, CropEncodesInTheAskedFormat) {
  const std::vector<uint8_t> bmp = DcToBmpBytes(Numbered(8, 8), 8, 8);
  std::string jpeg(kImageFormatJpeg);
  EXPECT_TRUE(StartsWith(CropImageBytes(bmp, 0, 0, 2, 2, jpeg), "\xFF\xD8\xFF"));
  EXPECT_EQ(jpeg, kImageFormatJpeg);
  std::string gif(kImageFormatGif);
  const Canvas cut = Decode(CropImageBytes(bmp, 6, 6, 2, 2, gif));
  EXPECT_EQ(cut.At(1, 1), MakePixel(255, 7, 7, 7));
}

TEST_F(ImageBytesTest, CropReachingOutsideTheSourceFillsBlack) {
  const std::vector<uint8_t> bmp = DcToBmpBytes(Numbered(4, 4), 4, 4);
  std::string format;
  const Canvas cut = Decode(CropImageBytes(bmp, -1, 2, 6, 3, format));
  ASSERT_EQ(cut.Width(), 6);
  ASSERT_EQ(cut.Height(), 3);
  EXPECT_EQ(cut.At(0, 0), MakePixel(255, 0, 0, 0)) << "left of the source";
  EXPECT_EQ(cut.At(1, 0), MakePixel(255, 0, 2, 7));
  EXPECT_EQ(cut.At(4, 1), MakePixel(255, 3, 3, 7));
  EXPECT_EQ(cut.At(5, 1), MakePixel(255, 0, 0, 0)) << "right of the source";
  EXPECT_EQ(cut.At(2, 2), MakePixel(255, 0, 0, 0)) << "below the source";
}

TEST_F(ImageBytesTest, CropFailuresGiveNoBytes) {
  const std::vector<uint8_t> bmp = DcToBmpBytes(Numbered(4, 4), 4, 4);
  std::string unknown = "{00000000-0000-0000-0000-000000000001}";
  EXPECT_TRUE(CropImageBytes(bmp, 0, 0, 2, 2, unknown).empty());
  std::string format;
  EXPECT_TRUE(CropImageBytes(bmp, 0, 0, 0, 2, format).empty()) << "zero width";
  EXPECT_EQ(format, kImageFormatBmp) << "the format is still taken from the source";
  format.clear();
  EXPECT_TRUE(CropImageBytes(std::vector<uint8_t>{'B', 'M', 1, 2}, 0, 0, 2, 2, format).empty());
  EXPECT_TRUE(format.empty());
  std::string bmpFormat(kImageFormatBmp);
  EXPECT_TRUE(CropImageBytes({}, 0, 0, 2, 2, bmpFormat).empty()) << "not a blank piece from nothing";
}

TEST_F(ImageBytesTest, WrappersRecordStatusAndFormats) {
  GpImage empty;
  SetLastStatus(GpStatus::Aborted);
  EXPECT_FALSE(empty.Dispose());
  EXPECT_EQ(LastStatus(), GpStatus::Aborted);
  EXPECT_EQ(empty.Width(), 0u);
  EXPECT_NE(LastStatus(), GpStatus::Ok);

  GpBitmap blank;
  ASSERT_TRUE(blank.Create(3, 2));
  EXPECT_EQ(blank.RawFormat(), "{B96B3CAA-0728-11D3-9D7B-0000F81EF32E}");
  EXPECT_TRUE(blank.SaveToBytes().empty()) << "no encoder writes the in-memory format";
  EXPECT_NE(LastStatus(), GpStatus::Ok);
  const std::vector<uint8_t> bmp = blank.SaveToBytes(std::string(kImageFormatBmp));
  EXPECT_TRUE(StartsWith(bmp, "BM"));
  EXPECT_EQ(LastStatus(), GpStatus::Ok);
  EXPECT_TRUE(blank.SaveToBytes("{12345678-0000-0000-0000-000000000000}").empty());
  EXPECT_NE(LastStatus(), GpStatus::Ok);
  EXPECT_FALSE(blank.Create(0, 5));
  EXPECT_FALSE(blank.Holds());

  GpImage loaded;
  ASSERT_TRUE(loaded.LoadFromBytes(bmp));
  EXPECT_EQ(loaded.Width(), 3u);
  EXPECT_EQ(loaded.Height(), 2u);
  EXPECT_EQ(loaded.RawFormat(), kImageFormatBmp);
  EXPECT_TRUE(StartsWith(loaded.SaveToBytes(), "BM")) << "an absent format is the raw format";
  EXPECT_FALSE(loaded.LoadFromBytes(std::vector<uint8_t>{1, 2, 3}));
  EXPECT_FALSE(loaded.Holds()) << "a failed load drops the old picture";
  EXPECT_FALSE(loaded.Dispose());
}

}  // namespace
}  // namespace rc
