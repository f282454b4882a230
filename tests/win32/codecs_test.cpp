// The platform's encoders and decoders, through the same interface the
// program uses for its own BMP codec.
#include <gtest/gtest.h>

#include "gfx/image_format.h"
#include "platform/win32/win32_wic_codecs.h"

namespace rc {
namespace {

const ImageCodec* CodecFor(std::string_view format) {
  for (const ImageCodec* codec : WicImageCodecs()) {
    if (codec->Info().formatId == format) return codec;
  }
  return nullptr;
}

// Distinct colours in every pixel, half of them not opaque.
Canvas Pattern(int32_t width, int32_t height) {
  Canvas c(width, height);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t a = (x + y) % 2 ? 255 : 128;
      c.Set(x, y, MakePixel(a, (x * 37) % 256 * a / 255, (y * 53) % 256 * a / 255, ((x + y) * 11) % 256 * a / 255));
    }
  }
  return c;
}

TEST(Win32Codecs, EveryFormatIsListedWithItsSignature) {
  for (std::string_view format : {kImageFormatPng, kImageFormatJpeg, kImageFormatGif}) {
    const ImageCodec* codec = CodecFor(format);
    ASSERT_NE(codec, nullptr) << format;
    EXPECT_EQ(codec->Info().classId.front(), '{');
    const std::vector<uint8_t> bytes = codec->Encode(Pattern(3, 2));
    ASSERT_FALSE(bytes.empty()) << format;
    for (const ImageCodec* other : WicImageCodecs()) EXPECT_EQ(other->Recognises(bytes), other == codec);
  }
}

TEST(Win32Codecs, PngRoundTripsExactlyAndComesOutOpaque) {
  const ImageCodec* png = CodecFor(kImageFormatPng);
  for (auto [w, h] : {std::pair{1, 7}, {7, 1}, {13, 5}, {1, 1}}) {
    const Canvas picture = Pattern(w, h);
    Canvas back;
    ASSERT_TRUE(png->Decode(png->Encode(picture), back)) << w << "x" << h;
    ASSERT_EQ(back.Width(), w);
    ASSERT_EQ(back.Height(), h);
    for (int32_t y = 0; y < h; ++y) {
      for (int32_t x = 0; x < w; ++x) EXPECT_EQ(back.At(x, y), picture.At(x, y) | 0xFF000000u) << x << "," << y;
    }
  }
}

TEST(Win32Codecs, GifKeepsFewColoursAndJpegKeepsTheSize) {
  Canvas flat(9, 4);
  flat.Fill(MakePixel(255, 200, 100, 50));
  for (int32_t x = 0; x < 9; ++x) flat.Set(x, 2, MakePixel(255, 0, 128, 255));
  Canvas back;
  ASSERT_TRUE(CodecFor(kImageFormatGif)->Decode(CodecFor(kImageFormatGif)->Encode(flat), back));
  EXPECT_EQ(back.At(4, 0), flat.At(4, 0));
  EXPECT_EQ(back.At(4, 2), flat.At(4, 2));
  // Past 256 colours the palette is reduced, but the picture stays whole.
  ASSERT_TRUE(CodecFor(kImageFormatGif)->Decode(CodecFor(kImageFormatGif)->Encode(Pattern(40, 30)), back));
  EXPECT_EQ(back.Width(), 40);
  EXPECT_EQ(back.Height(), 30);
  ASSERT_TRUE(CodecFor(kImageFormatJpeg)->Decode(CodecFor(kImageFormatJpeg)->Encode(Pattern(17, 3)), back));
  EXPECT_EQ(back.Width(), 17);
  EXPECT_EQ(back.Height(), 3);
  EXPECT_EQ(AlphaOf(back.At(16, 2)), 255);
}

TEST(Win32Codecs, DamagedInputIsRefusedNotRead) {
  const ImageCodec* png = CodecFor(kImageFormatPng);
  std::vector<uint8_t> bytes = png->Encode(Pattern(5, 5));
  bytes.resize(bytes.size() / 2);
  Canvas back(2, 2);
  EXPECT_FALSE(png->Decode(bytes, back));
  EXPECT_TRUE(back.Empty());
  EXPECT_FALSE(png->Decode({}, back));
  EXPECT_TRUE(png->Encode(Canvas()).empty());
}

}  // namespace
}  // namespace rc
