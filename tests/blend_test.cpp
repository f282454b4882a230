#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <vector>

#include "gfx/blend.h"
#include "gfx/blend_row.h"
#include "gfx/dim_row.h"
#include "win/scene_compositor.h"

namespace rc {
namespace {

Canvas Solid(int32_t w, int32_t h, Pixel p) {
  Canvas c(w, h);
  c.Fill(p);
  return c;
}

TEST(Blend, OpaqueBlackAtHalfLeaves127Of255) {
  Canvas dst = Solid(2, 1, MakePixel(255, 255, 200, 2));
  const Canvas black = Solid(2, 1, MakePixel(255, 0, 0, 0));
  ASSERT_TRUE(AlphaBlendCanvas(dst, {0, 0, 2, 1}, black, {0, 0, 2, 1}, 128, false));
  // 255 * 127 / 255 = 127; 200 * 127 / 255 = 99.6 -> 100; 2 * 127 / 255 = 0.996 -> 1.
  EXPECT_EQ(dst.At(0, 0), MakePixel(255, 127, 100, 1));
}

TEST(Blend, FullAlphaWithoutPerPixelCopiesExactly) {
  Canvas dst = Solid(3, 3, MakePixel(255, 9, 9, 9));
  const Canvas src = Solid(3, 3, MakePixel(40, 30, 20, 10));
  AlphaBlendCanvas(dst, {0, 0, 3, 3}, src, {0, 0, 3, 3}, 255, false);
  EXPECT_EQ(dst.At(1, 1), MakePixel(40, 30, 20, 10));
}

TEST(Blend, PerPixelAlphaIsPremultipliedSourceOver) {
  Canvas dst = Solid(1, 1, MakePixel(255, 200, 100, 0));
  // Half-transparent white, premultiplied.
  const Canvas src = Solid(1, 1, MakePixel(128, 128, 128, 128));
  AlphaBlendCanvas(dst, {0, 0, 1, 1}, src, {0, 0, 1, 1}, 255, true);
  // 128 + 200 * 127 / 255 = 128 + 100 = 228; 128 + 50 = 178; 128 + 0.
  EXPECT_EQ(dst.At(0, 0), MakePixel(255, 228, 178, 128));

  // A transparent source pixel leaves the destination alone.
  Canvas keep = Solid(1, 1, MakePixel(255, 1, 2, 3));
  AlphaBlendCanvas(keep, {0, 0, 1, 1}, Canvas(1, 1), {0, 0, 1, 1}, 255, true);
  EXPECT_EQ(keep.At(0, 0), MakePixel(255, 1, 2, 3));

  // Constant alpha scales the source first: opaque red at 128 over black.
  Canvas half = Solid(1, 1, MakePixel(255, 0, 0, 0));
  AlphaBlendCanvas(half, {0, 0, 1, 1}, Solid(1, 1, MakePixel(255, 255, 0, 0)), {0, 0, 1, 1}, 128, true);
  EXPECT_EQ(half.At(0, 0), MakePixel(255, 128, 0, 0));
}

TEST(Blend, StretchesByNearestPixel) {
  Canvas src(2, 1);
  src.Set(0, 0, MakePixel(255, 10, 0, 0));
  src.Set(1, 0, MakePixel(255, 20, 0, 0));
  Canvas dst(4, 2);
  AlphaBlendCanvas(dst, {0, 0, 4, 2}, src, {0, 0, 2, 1}, 255, false);
  EXPECT_EQ(RedOf(dst.At(0, 1)), 10);
  EXPECT_EQ(RedOf(dst.At(1, 0)), 10);
  EXPECT_EQ(RedOf(dst.At(2, 0)), 20);
  EXPECT_EQ(RedOf(dst.At(3, 1)), 20);
}

TEST(Blend, ClipsAtBothCanvasesEdges) {
  Canvas dst = Solid(4, 4, MakePixel(255, 0, 0, 0));
  const Canvas src = Solid(4, 4, MakePixel(255, 50, 60, 70));
  // Reaches past the destination's right/bottom edges and the source's left/top.
  EXPECT_TRUE(AlphaBlendCanvas(dst, {2, 2, 4, 4}, src, {-1, -1, 4, 4}, 255, false));
  EXPECT_EQ(dst.At(1, 1), MakePixel(255, 0, 0, 0));
  EXPECT_EQ(dst.At(2, 2), MakePixel(255, 0, 0, 0));  // samples source (-1, -1): skipped
  EXPECT_EQ(dst.At(3, 3), MakePixel(255, 50, 60, 70));
  EXPECT_FALSE(AlphaBlendCanvas(dst, {0, 0, 0, 4}, src, {0, 0, 4, 4}, 255, false));
}

TEST(Blend, StretchCopyMirrorsNegativeExtents) {
  Canvas src(1, 3);
  for (int32_t y = 0; y < 3; ++y) src.Set(0, y, MakePixel(255, 0, 0, static_cast<uint32_t>(y)));
  Canvas dst(1, 3);
  // Upside down: the source from its last row upwards.
  ASSERT_TRUE(StretchCopy(dst, {0, 0, 1, 3}, src, {0, 2, 1, -3}));
  EXPECT_EQ(BlueOf(dst.At(0, 0)), 2);
  EXPECT_EQ(BlueOf(dst.At(0, 1)), 1);
  EXPECT_EQ(BlueOf(dst.At(0, 2)), 0);
}

}  // namespace
}  // namespace rc

namespace rc {
namespace {

TEST(Blend, DimmingInPlaceMatchesTheDimLayerBlendForEveryValue) {
  Canvas snapshot(256, 4);
  for (int32_t x = 0; x < 256; ++x) {
    const uint32_t v = static_cast<uint32_t>(x);
    snapshot.Set(x, 0, MakePixel(255, v, 255 - v, v / 2));
    snapshot.Set(x, 1, MakePixel(v, v, v, v));
    snapshot.Set(x, 2, MakePixel(255, 0, v, 255));
    snapshot.Set(x, 3, MakePixel(0, 0, 0, 0));
  }
  Canvas viaLayer = snapshot.Clone();
  Canvas black(256, 4);
  black.Fill(MakePixel(255, 0, 0, 0));
  AlphaBlendCanvas(viaLayer, viaLayer.Bounds(), black, black.Bounds(), 128, false);
  Canvas direct(256, 4);
  DimInto(direct, snapshot, snapshot.Bounds());
  for (int32_t y = 0; y < 4; ++y)
    for (int32_t x = 0; x < 256; ++x) ASSERT_EQ(direct.At(x, y), viaLayer.At(x, y)) << x << "," << y;
}

// The dimmed pixel is the blend of opaque black at 128 over the snapshot's.
Pixel DimmedByBlend(Pixel p) { return BlendPixel(p, MakePixel(255, 0, 0, 0), 128, false); }

// The row kernel works eight, then four pixels at a time with a scalar
// tail: every value of every channel passes through each of the eight
// places of a vector, and every length up to 19 from an odd start takes
// each mix of the three paths.
TEST(Blend, DimmedRowsMatchTheBlendForEveryChannelValueInEveryPlace) {
  std::vector<Pixel> from(256 * 8 + 5), to(from.size());
  for (size_t i = 0; i < from.size(); ++i) {
    const uint32_t v = static_cast<uint32_t>(i / 8 % 256);
    from[i] = MakePixel(v, 255 - v, v ^ 0x5A, (v * 37) & 0xFF);
  }
  DimRow(to.data(), from.data(), static_cast<int32_t>(from.size()));
  for (size_t i = 0; i < from.size(); ++i) ASSERT_EQ(to[i], DimmedByBlend(from[i])) << std::hex << from[i];
  uint32_t seed = 99;
  for (int32_t count = 0; count < 20; ++count) {
    Pixel row[21], out[21];
    for (Pixel& p : row) p = seed = seed * 1664525u + 1013904223u;
    std::fill(std::begin(out), std::end(out), 0x12345678u);
    DimRow(out + 1, row + 1, count);
    for (int32_t i = 0; i < 21; ++i)
      ASSERT_EQ(out[i], i >= 1 && i <= count ? DimmedByBlend(row[i]) : 0x12345678u) << "count " << count << " at " << i;
  }
}

}  // namespace
}  // namespace rc

namespace rc {
namespace {

// The blend as written out channel by channel, for comparison with the
// packed arithmetic the blends use.
Pixel ReferenceBlend(Pixel d, Pixel s, uint32_t a, bool perPixel) {
  Pixel out = 0;
  const uint32_t sa = Div255(AlphaOf(s) * a);
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t cs = (s >> shift) & 0xFF;
    const uint32_t cd = (d >> shift) & 0xFF;
    const uint32_t v = perPixel ? std::min<uint32_t>(Div255(cs * a) + Div255(cd * (255 - sa)), 255)
                                : Div255(cs * a + cd * (255 - a));
    out |= v << shift;
  }
  return out;
}

TEST(Blend, PackedArithmeticMatchesChannelByChannelBlends) {
  uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int i = 0; i < 200000; ++i) {
    const Pixel d = next();
    Pixel s = next();
    const uint32_t sa = AlphaOf(s);
    // Premultiplied sources: no channel above alpha.
    s = MakePixel(sa, RedOf(s) % (sa + 1), GreenOf(s) % (sa + 1), BlueOf(s) % (sa + 1));
    const uint8_t a = static_cast<uint8_t>(next() >> 24);
    ASSERT_EQ(BlendPixel(d, s, a, true), ReferenceBlend(d, s, a, true)) << std::hex << d << " " << s << " " << +a;
    ASSERT_EQ(BlendPixel(d, s, a, false), a == 255 ? s : ReferenceBlend(d, s, a, false));
  }
}

// The row blend works four pixels at a time with a scalar tail: every
// length from 0 to 11 and every constant alpha must give BlendPixel's
// pixels, for premultiplied sources and for ones brighter than their alpha,
// and for runs of transparent or opaque sources (which it skips or copies),
// over lengths that take the eight-, four- and one-pixel paths.
TEST(Blend, RowsMatchPixelByPixelBlendsAtEveryLengthAndAlpha) {
  uint32_t seed = 777;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  const auto source = [&](int32_t i, uint32_t run) -> Pixel {
    const Pixel s = next();
    const uint32_t sa = AlphaOf(s);
    if (run % 4 == 1) return 0;
    if (run % 4 == 2) return s | 0xFF000000u;
    if (run % 4 == 3) return i % 5 == 0 ? 0 : s | 0xFF000000u;
    return i % 3 == 0 ? s : MakePixel(sa, RedOf(s) % (sa + 1), GreenOf(s) % (sa + 1), BlueOf(s) % (sa + 1));
  };
  for (int a = 0; a < 256; ++a) {
    for (int32_t count = 0; count < 28; ++count) {
      Pixel from[28], to[28], expected[28];
      for (bool perPixel : {true, false}) {
        const uint32_t run = next() >> 8;
        for (int32_t i = 0; i < count; ++i) {
          from[i] = source(i, run >> (i / 4 * 3));
          to[i] = next();
          expected[i] = BlendPixel(to[i], from[i], static_cast<uint8_t>(a), perPixel);
        }
        BlendRow(to, from, count, static_cast<uint8_t>(a), perPixel);
        for (int32_t i = 0; i < count; ++i) {
          ASSERT_EQ(to[i], expected[i]) << "alpha " << a << " count " << count << " at " << i << " perPixel " << perPixel;
        }
      }
    }
  }
}

}  // namespace
}  // namespace rc

namespace rc {
namespace {

Canvas Noise(int32_t w, int32_t h, uint32_t seed) {
  Canvas c(w, h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const Pixel s = seed;
      // Opaque, transparent and translucent runs, as artwork has them.
      c.Set(x, y, (x / 5 + y) % 3 == 0 ? s | 0xFF000000u : (x / 7) % 4 == 1 ? 0 : s);
    }
  return c;
}

// A blend clipped to a thin box, from one pixel wide up, goes a box at a
// time with rows that overlap their vectors: it must touch exactly the
// box's pixels and give BlendPixel's pixels there.
TEST(Blend, ThinClippedBoxesGivePixelByPixelBlends) {
  const Canvas src = Noise(40, 9, 99);
  const Canvas before = Noise(45, 12, 5);
  for (const auto& [alpha, perPixel] : {std::pair{255, false}, {255, true}, {200, true}, {40, false}}) {
    for (int32_t width = 1; width <= 21; ++width) {
      const Box clip{3, 2, width, 1 + width % 6};
      Canvas dst = before.Clone();
      ASSERT_TRUE(AlphaBlendCanvasClipped(dst, {2, 1, 40, 9}, src, src.Bounds(), static_cast<uint8_t>(alpha),
                                          perPixel, clip));
      for (int32_t y = 0; y < dst.Height(); ++y)
        for (int32_t x = 0; x < dst.Width(); ++x) {
          const bool inside = x >= clip.x && x < clip.Right() && y >= clip.y && y < clip.Bottom();
          const Pixel expected = inside ? BlendPixel(before.At(x, y), src.At(x - 2, y - 1), static_cast<uint8_t>(alpha), perPixel) : before.At(x, y);
          ASSERT_EQ(dst.At(x, y), expected) << "width " << width << " at " << x << "," << y << " alpha " << alpha;
        }
    }
  }
}

// A copy within one canvas moves its rows as memmove does, short ones too.
TEST(Blend, OverlappingCopiesWithinACanvasMoveRowsAsAWhole) {
  for (int32_t count = 1; count <= 12; ++count) {
    Canvas c(16, 1);
    for (int32_t x = 0; x < 16; ++x) c.Set(x, 0, static_cast<Pixel>(x));
    ASSERT_TRUE(StretchCopy(c, {1, 0, count, 1}, c, {0, 0, count, 1}));
    EXPECT_EQ(c.At(0, 0), 0u);
    for (int32_t x = 1; x <= count; ++x) ASSERT_EQ(c.At(x, 0), static_cast<Pixel>(x - 1)) << count;
    ASSERT_TRUE(StretchCopy(c, {0, 0, count, 1}, c, {1, 0, count, 1}));
    for (int32_t x = 0; x < count; ++x) ASSERT_EQ(c.At(x, 0), static_cast<Pixel>(x)) << count;
  }
}

}  // namespace
}  // namespace rc
