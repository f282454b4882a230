// Encoding and decoding of BMP, PNG, JPEG and GIF, and the BMP reader's
// defences against malformed files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "gfx/bmp_codec.h"
#include "gfx/image_codecs.h"
#include "gfx/image_format.h"
#include "platform/headless/headless_host.h"

namespace rc {
namespace {

struct Dim {
  int32_t w;
  int32_t h;
};
const std::vector<Dim> kAwkwardSizes = {{1, 1}, {1, 7}, {7, 1}, {2, 2}, {301, 5}, {33, 17}};

Canvas RandomPicture(int32_t w, int32_t h, uint32_t seed) {
  std::mt19937 rng(seed);
  Canvas c(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) c.Set(x, y, 0xFF000000u | (rng() & 0xFFFFFFu));
  }
  return c;
}

// A smooth picture with thousands of colours, the kind a screen holds.
Canvas Gradient(int32_t w, int32_t h) {
  Canvas c(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      c.Set(x, y, MakePixel(255, x * 255 / std::max(w - 1, 1), y * 255 / std::max(h - 1, 1), (x + y) * 255 / (w + h)));
    }
  }
  return c;
}

int ChannelDiff(Pixel a, Pixel b, int shift) {
  return std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
}

struct Difference {
  int max = 0;
  double mean = 0;
};

Difference Compare(const Canvas& a, const Canvas& b) {
  Difference d;
  double total = 0;
  for (int32_t y = 0; y < a.Height(); ++y) {
    for (int32_t x = 0; x < a.Width(); ++x) {
      for (int shift = 0; shift < 32; shift += 8) {
        const int diff = ChannelDiff(a.At(x, y), b.At(x, y), shift);
        d.max = std::max(d.max, diff);
        total += diff;
      }
    }
  }
  d.mean = total / (static_cast<double>(a.Width()) * a.Height() * 4);
  return d;
}

class CodecTest : public ::testing::Test {
 protected:
  const ImageCodec& Codec(std::string_view formatId) {
    const ImageCodec* codec = CodecByClassId(FindEncoder(formatId));
    EXPECT_NE(codec, nullptr) << formatId;
    return *codec;
  }

  // Encodes, checks the decoder is chosen by the bytes alone, decodes.
  Canvas RoundTrip(std::string_view formatId, const Canvas& picture) {
    const std::vector<uint8_t> bytes = Codec(formatId).Encode(picture);
    EXPECT_FALSE(bytes.empty());
    const ImageCodec* decoder = FindDecoderFor(bytes);
    EXPECT_EQ(decoder, &Codec(formatId));
    Canvas out;
    EXPECT_TRUE(decoder != nullptr && decoder->Decode(bytes, out));
    EXPECT_EQ(out.Width(), picture.Width());
    EXPECT_EQ(out.Height(), picture.Height());
    return out;
  }

  HeadlessHost host_{8, 8};
};

TEST_F(CodecTest, EveryFormatHasOneEncoderAndBmpComesFirst) {
  const std::vector<EncoderInfo> encoders = ImageEncoders();
  ASSERT_GE(encoders.size(), 4u);
  EXPECT_EQ(encoders[0].formatId, kImageFormatBmp);
  for (std::string_view id : {kImageFormatBmp, kImageFormatPng, kImageFormatJpeg, kImageFormatGif}) {
    const std::string classId = FindEncoder(id);
    ASSERT_EQ(classId.size(), 38u) << id;
    EXPECT_EQ(classId.front(), '{');
    EXPECT_EQ(classId.back(), '}');
    for (char ch : classId) EXPECT_FALSE(ch >= 'a' && ch <= 'z') << classId;
  }
  EXPECT_EQ(FindEncoder("{B96B3CAA-0728-11D3-9D7B-0000F81EF32E}"), "");
  EXPECT_EQ(FindEncoder("{b96b3cab-0728-11d3-9d7b-0000f81ef32e}"), "") << "ids compare byte for byte";
  EXPECT_EQ(FindDecoderFor(std::vector<uint8_t>{'n', 'o', 'p', 'e'}), nullptr);
}

TEST_F(CodecTest, LosslessFormatsGiveBackEveryPixelAtAwkwardSizes) {
  for (std::string_view id : {kImageFormatBmp, kImageFormatPng}) {
    for (const Dim& d : kAwkwardSizes) {
      const Canvas picture = RandomPicture(d.w, d.h, static_cast<uint32_t>(d.w * 31 + d.h));
      const Canvas back = RoundTrip(id, picture);
      EXPECT_EQ(Compare(picture, back).max, 0) << id << " " << d.w << "x" << d.h;
    }
  }
}

TEST_F(CodecTest, JpegStaysCloseToTheOriginal) {
  for (const Dim& d : kAwkwardSizes) {
    Canvas flat(d.w, d.h);
    flat.Fill(MakePixel(255, 40, 160, 220));
    EXPECT_LE(Compare(flat, RoundTrip(kImageFormatJpeg, flat)).max, 3) << d.w << "x" << d.h;
  }
  const Canvas smooth = Gradient(301, 57);
  const Difference diff = Compare(smooth, RoundTrip(kImageFormatJpeg, smooth));
  EXPECT_LT(diff.mean, 2.0);
  EXPECT_LE(diff.max, 12);
}

TEST_F(CodecTest, GifIsExactUpTo256ColoursAndCloseBeyond) {
  std::vector<Pixel> colours = {0xFF000000u, 0xFFFFFFFFu};
  for (uint32_t i = 2; i < 256; ++i) colours.push_back(0xFF000000u | (i * 0x010203u * 97u & 0xFFFFFFu));
  for (const Dim& d : kAwkwardSizes) {
    Canvas picture(d.w, d.h);
    for (int32_t i = 0; i < d.w * d.h; ++i) picture.Data()[i] = colours[(i * 7919u) % colours.size()];
    EXPECT_EQ(Compare(picture, RoundTrip(kImageFormatGif, picture)).max, 0) << d.w << "x" << d.h;
  }
  const Canvas smooth = Gradient(301, 57);
  const Difference diff = Compare(smooth, RoundTrip(kImageFormatGif, smooth));
  EXPECT_LT(diff.mean, 4.0);
  EXPECT_LE(diff.max, 24);
  const Canvas noise = RandomPicture(64, 64, 5);
  EXPECT_LT(Compare(noise, RoundTrip(kImageFormatGif, noise)).mean, 20.0);
}

TEST_F(CodecTest, EncodedPicturesAreOpaqueAndLaidOverBlack) {
  Canvas translucent(3, 2);
  translucent.Fill(MakePixel(128, 100, 50, 0));  // premultiplied half-alpha
  translucent.Set(1, 1, 0);                      // fully transparent
  for (std::string_view id : {kImageFormatBmp, kImageFormatPng, kImageFormatGif}) {
    const Canvas back = RoundTrip(id, translucent);
    EXPECT_EQ(back.At(0, 0), MakePixel(255, 100, 50, 0)) << id;
    EXPECT_EQ(back.At(1, 1), MakePixel(255, 0, 0, 0)) << id;
  }
  EXPECT_EQ(AlphaOf(RoundTrip(kImageFormatJpeg, translucent).At(2, 1)), 255);
}

TEST_F(CodecTest, PngWithAlphaDecodesPremultiplied) {
  // 2 x 1, RGBA: (200, 100, 50, alpha 102) and (0, 0, 255, alpha 0).
  const std::vector<uint8_t> png = {
      0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
      0x52, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00, 0x00, 0xf4,
      0x22, 0x7f, 0x8a, 0x00, 0x00, 0x00, 0x11, 0x49, 0x44, 0x41, 0x54, 0x08, 0xd7, 0x63, 0x38,
      0x91, 0x62, 0x94, 0xc6, 0xc0, 0xf0, 0x9f, 0x01, 0x00, 0x0e, 0x2d, 0x02, 0xc4, 0xcf, 0xcd,
      0x69, 0x86, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
  Canvas out;
  ASSERT_TRUE(Codec(kImageFormatPng).Decode(png, out));
  EXPECT_EQ(out.At(0, 0), MakePixel(102, 80, 40, 20));
  EXPECT_EQ(out.At(1, 0), 0u);
}

TEST_F(CodecTest, TruncatedFilesOfEveryFormatAreHandledWithoutHarm) {
  const Canvas picture = Gradient(19, 11);
  for (std::string_view id : {kImageFormatBmp, kImageFormatPng, kImageFormatJpeg, kImageFormatGif}) {
    const std::vector<uint8_t> bytes = Codec(id).Encode(picture);
    for (size_t cut = 0; cut < bytes.size(); cut += 3) {
      Canvas out;
      const bool ok = Codec(id).Decode(std::span(bytes).first(cut), out);
      // JPEG, like most viewers, shows what arrived; the others refuse
      // once picture data is missing (a lost end marker may pass).
      if (id != kImageFormatJpeg && cut + 12 < bytes.size()) {
        EXPECT_FALSE(ok) << id << " cut at " << cut;
      }
      EXPECT_EQ(ok, !out.Empty());
    }
  }
}

// ---- BMP files written by hand ---------------------------------------------

void Put16(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  Put16(b, at, v);
  Put16(b, at + 2, v >> 16);
}

// A BMP with a 40-byte info header, then `extra` (masks or palette), then
// `rows` as given.
std::vector<uint8_t> MakeBmp(int32_t w, int32_t h, uint16_t bits, uint32_t compression,
                             const std::vector<uint8_t>& extra, const std::vector<uint8_t>& rows) {
  std::vector<uint8_t> b;
  b.reserve(54 + extra.size() + rows.size());
  b.resize(54);
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(54 + extra.size() + rows.size()));
  Put32(b, 10, static_cast<uint32_t>(54 + extra.size()));
  Put32(b, 14, 40);
  Put32(b, 18, static_cast<uint32_t>(w));
  Put32(b, 22, static_cast<uint32_t>(h));
  Put16(b, 26, 1);
  Put16(b, 28, bits);
  Put32(b, 30, compression);
  b.insert(b.end(), extra.begin(), extra.end());
  b.insert(b.end(), rows.begin(), rows.end());
  return b;
}

std::vector<uint8_t> Masks(uint32_t r, uint32_t g, uint32_t bl) {
  std::vector<uint8_t> m(12);
  Put32(m, 0, r);
  Put32(m, 4, g);
  Put32(m, 8, bl);
  return m;
}

class BmpReadTest : public ::testing::Test {
 protected:
  bool Read(const std::vector<uint8_t>& bytes) { return codec_.Decode(bytes, out_); }
  BmpCodec codec_;
  Canvas out_;
};

TEST_F(BmpReadTest, IndexedRowsAreBottomUpAndPadded) {
  const std::vector<uint8_t> palette = {0, 0, 0, 0, 255, 255, 255, 0, 0, 0, 255, 0};  // black, white, red
  // 1 bit, 3 x 2: bottom row 1 0 1, top row 0 1 1; each row padded to 4 bytes.
  ASSERT_TRUE(Read(MakeBmp(3, 2, 1, 0, palette, {0xA0, 0, 0, 0, 0x60, 0, 0, 0})));
  EXPECT_EQ(out_.At(0, 1), 0xFFFFFFFFu);
  EXPECT_EQ(out_.At(1, 1), 0xFF000000u);
  EXPECT_EQ(out_.At(0, 0), 0xFF000000u);
  EXPECT_EQ(out_.At(2, 0), 0xFFFFFFFFu);
  // 4 bit, 3 x 1: indices 2, 1, and 9 which lies past the three-entry table.
  ASSERT_TRUE(Read(MakeBmp(3, 1, 4, 0, palette, {0x21, 0x90, 0, 0})));
  EXPECT_EQ(out_.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(out_.At(1, 0), 0xFFFFFFFFu);
  EXPECT_EQ(out_.At(2, 0), 0xFF000000u);
  // 8 bit, top-down (negative height).
  ASSERT_TRUE(Read(MakeBmp(1, -2, 8, 0, palette, {2, 0, 0, 0, 1, 0, 0, 0})));
  EXPECT_EQ(out_.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(out_.At(0, 1), 0xFFFFFFFFu);
}

TEST_F(BmpReadTest, DirectColourDepthsAndBitFields) {
  // 24 bit, 1 x 2: rows padded from 3 to 4 bytes; bottom row first.
  ASSERT_TRUE(Read(MakeBmp(1, 2, 24, 0, {}, {1, 2, 3, 0, 4, 5, 6, 0})));
  EXPECT_EQ(out_.At(0, 1), MakePixel(255, 3, 2, 1));
  EXPECT_EQ(out_.At(0, 0), MakePixel(255, 6, 5, 4));
  // 16 bit without masks is 5-5-5: pure red and full white.
  ASSERT_TRUE(Read(MakeBmp(2, 1, 16, 0, {}, {0x00, 0x7C, 0xFF, 0x7F})));
  EXPECT_EQ(out_.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(out_.At(1, 0), 0xFFFFFFFFu);
  // 16 bit 5-6-5 bit fields: pure green widens to 255.
  ASSERT_TRUE(Read(MakeBmp(1, 1, 16, 3, Masks(0xF800, 0x07E0, 0x001F), {0xE0, 0x07, 0, 0})));
  EXPECT_EQ(out_.At(0, 0), 0xFF00FF00u);
  // 32 bit with red and blue masks swapped.
  ASSERT_TRUE(Read(MakeBmp(1, 1, 32, 3, Masks(0xFF, 0xFF00, 0xFF0000), {10, 20, 30, 0})));
  EXPECT_EQ(out_.At(0, 0), MakePixel(255, 10, 20, 30));
  // 32 bit BI_RGB: the fourth byte means nothing, the picture is opaque.
  ASSERT_TRUE(Read(MakeBmp(1, 1, 32, 0, {}, {10, 20, 30, 0})));
  EXPECT_EQ(out_.At(0, 0), MakePixel(255, 30, 20, 10));
}

TEST_F(BmpReadTest, MalformedHeadersAreRejected) {
  const std::vector<uint8_t> row(16, 0);
  EXPECT_FALSE(Read(MakeBmp(0, 1, 24, 0, {}, row))) << "zero width";
  EXPECT_FALSE(Read(MakeBmp(1, 0, 24, 0, {}, row))) << "zero height";
  EXPECT_FALSE(Read(MakeBmp(-1, 1, 24, 0, {}, row))) << "negative width";
  EXPECT_FALSE(Read(MakeBmp(1, INT32_MIN, 24, 0, {}, row))) << "height that cannot be negated";
  EXPECT_FALSE(Read(MakeBmp(0x40000000, 0x40000000, 32, 0, {}, row))) << "width x height overflows";
  EXPECT_FALSE(Read(MakeBmp(16384, 16384, 1, 0, std::vector<uint8_t>(8), row))) << "far more rows than bytes";
  EXPECT_FALSE(Read(MakeBmp(2, 2, 24, 0, {}, std::vector<uint8_t>(12)))) << "truncated rows";
  EXPECT_FALSE(Read(MakeBmp(1, 1, 7, 0, {}, row))) << "unknown bit count";
  EXPECT_FALSE(Read(MakeBmp(1, 1, 8, 1, std::vector<uint8_t>(8), row))) << "run-length coded";
  EXPECT_FALSE(Read(MakeBmp(1, 1, 24, 3, {}, row))) << "bit fields on 24 bits";
  EXPECT_FALSE(Read(MakeBmp(1, 1, 16, 3, Masks(0x10001, 0, 0), row))) << "mask wider than the pixel";
  EXPECT_FALSE(Read(MakeBmp(1, 1, 32, 3, Masks(0xF0F0, 0, 0), row))) << "mask with a hole";
  std::vector<uint8_t> bytes = MakeBmp(1, 1, 24, 0, {}, row);
  Put32(bytes, 10, 0xFFFFFFF0u);
  EXPECT_FALSE(Read(bytes)) << "pixel offset past the end";
  Put32(bytes, 10, 20);
  EXPECT_FALSE(Read(bytes)) << "pixel offset inside the header";
  bytes = MakeBmp(1, 1, 24, 0, {}, row);
  Put32(bytes, 14, 0x7FFFFFFF);
  EXPECT_FALSE(Read(bytes)) << "header larger than the file";
  EXPECT_FALSE(Read(MakeBmp(1, 1, 8, 0, {}, {}))) << "no palette";
  EXPECT_TRUE(out_.Empty());
}

TEST_F(BmpReadTest, RandomDamageNeverCrashes) {
  const std::vector<uint8_t> good = codec_.Encode(RandomPicture(5, 3, 1));
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    std::vector<uint8_t> bytes = good;
    for (int hits = 0; hits < 3; ++hits) bytes[2 + rng() % 60] = static_cast<uint8_t>(rng());
    Canvas out;
    const bool ok = codec_.Decode(bytes, out);
    EXPECT_EQ(ok, !out.Empty());
  }
}

}  // namespace
}  // namespace rc
