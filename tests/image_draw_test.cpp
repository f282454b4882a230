// Scaled drawing: the enlarged rows and the opaque shortcut give exactly
// what sampling every destination pixel on its own gives.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "gfx/blend.h"
#include "gfx/image_draw.h"

namespace rc {
namespace {

Pixel ReferenceOver(Pixel d, Pixel s) {
  const uint32_t keep = 255 - AlphaOf(s);
  Pixel out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const uint32_t v = ((s >> shift) & 0xFFu) + Div255(((d >> shift) & 0xFFu) * keep);
    out |= std::min<uint32_t>(v, 255) << shift;
  }
  return out;
}

// Each destination pixel on its own: the centre's source point, floored.
void ReferenceScaled(Canvas& dst, const RectF& d, const Canvas& src, const RectF& s, Pixel beyond) {
  const auto index = [](double i, double start, double length, double srcStart, double srcLength) {
    return std::floor(srcStart + (i + 0.5 - start) * (srcLength / length));
  };
  const double top = d.y, left = d.x;
  for (double y = std::max(std::round(top), 0.0); y < std::min(std::round(top + d.height), double(dst.Height())); ++y) {
    for (double x = std::max(std::round(left), 0.0); x < std::min(std::round(left + d.width), double(dst.Width())); ++x) {
      const double u = index(x, d.x, d.width, s.x, s.width);
      const double v = index(y, d.y, d.height, s.y, s.height);
      const bool inside = u >= 0 && v >= 0 && u < src.Width() && v < src.Height();
      Pixel& p = dst.Row(int32_t(y))[int32_t(x)];
      p = ReferenceOver(p, inside ? src.At(int32_t(u), int32_t(v)) : beyond);
    }
  }
}

Canvas RandomCanvas(int32_t w, int32_t h, std::mt19937& rng, bool opaque) {
  Canvas c(w, h);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      const uint32_t a = opaque || rng() % 3 != 0 ? 255 : rng() % 256;
      c.Set(x, y, MakePixel(a, rng() % (a + 1), rng() % (a + 1), rng() % (a + 1)));
    }
  }
  return c;
}

void ExpectSame(const Canvas& a, const Canvas& b, const std::string& what) {
  for (int32_t y = 0; y < a.Height(); ++y) {
    for (int32_t x = 0; x < a.Width(); ++x) {
      ASSERT_EQ(a.At(x, y), b.At(x, y)) << what << " at " << x << "," << y;
    }
  }
}

// The magnifier's zoom (30 x 21 screen pixels into 118 x 84 at the panel's
// scale) at the screen's edges and away from them, over an opaque screen
// and a translucent one, into a canvas that the zoom may overrun.
TEST(DrawImageScaled, ZoomMatchesPerPixelSamplingAtEveryScaleAndEdge) {
  std::mt19937 rng(7);
  const Canvas screens[] = {RandomCanvas(97, 61, rng, true), RandomCanvas(97, 61, rng, false)};
  const Pixel beyond = MakePixel(255, 0, 0, 0);
  for (const Canvas& screen : screens) {
    for (float scale : {1.0f, 1.25f, 1.5f, 1.75f, 2.0f}) {
      const RectF dst{3 * scale, 3 * scale, 118 * scale, 84 * scale};
      for (Point cursor : {Point{0, 0}, Point{5, 3}, Point{48, 30}, Point{96, 60}, Point{90, 58}, Point{-40, 200}}) {
        const RectF src{float(cursor.x - 14), float(cursor.y - 11), 30, 21};
        Canvas fast = RandomCanvas(int32_t(124 * scale), int32_t(80 * scale), rng, false);
        Canvas expected = fast.Clone();
        DrawImageScaled(fast, dst, screen, src, beyond);
        ReferenceScaled(expected, dst, screen, src, beyond);
        ExpectSame(fast, expected, "scale " + std::to_string(scale) + " cursor " + std::to_string(cursor.x));
      }
    }
  }
}

// Shrinking, fractional rectangles and rectangles reaching past both sides.
TEST(DrawImageScaled, OddRectanglesMatchPerPixelSampling) {
  std::mt19937 rng(11);
  const Canvas picture = RandomCanvas(13, 9, rng, false);
  const RectF cases[][2] = {{{-2.5f, 1.25f, 40, 7.5f}, {-3, -2, 19, 13}},
                            {{0.4f, 0.6f, 5, 3}, {0, 0, 13, 9}},
                            {{1, 1, 1, 30}, {12.5f, -4, 0.25f, 17}},
                            {{10, 2, 8, 8}, {3, 3, 2, 2}}};
  for (const auto& c : cases) {
    Canvas fast = RandomCanvas(20, 16, rng, false);
    Canvas expected = fast.Clone();
    DrawImageScaled(fast, c[0], picture, c[1], 0);
    ReferenceScaled(expected, c[0], picture, c[1], 0);
    ExpectSame(fast, expected, "case");
  }
}

// PixelsLaidFor names exactly the pixels a draw lays: with every source
// point past the picture, those become the edge colour and no others do.
// Canvas::Fill lays the same box, clipped to the canvas.
TEST(DrawImageScaled, PixelsLaidForAreTheOnesDrawn) {
  const Canvas picture(4, 4);
  const Pixel beyond = MakePixel(255, 0, 0, 0);
  for (float scale : {1.0f, 1.25f, 1.5f, 1.75f, 2.0f}) {
    for (const RectF& dst : {RectF{3 * scale, 3 * scale, 118 * scale, 84 * scale}, RectF{-2.5f, 0.5f, 9.49f, 3.51f}}) {
      const Box laid = IntersectBox(PixelsLaidFor(dst), {0, 0, 260, 200});
      Canvas drawn(260, 200), filled(260, 200);
      DrawImageScaled(drawn, dst, picture, {-100, -100, 30, 21}, beyond);
      filled.Fill(PixelsLaidFor(dst), beyond);
      ExpectSame(drawn, filled, "scale " + std::to_string(scale));
      EXPECT_EQ(drawn.At(laid.x, laid.y), beyond);
      EXPECT_EQ(drawn.At(laid.Right() - 1, laid.Bottom() - 1), beyond);
    }
  }
}

}  // namespace
}  // namespace rc
