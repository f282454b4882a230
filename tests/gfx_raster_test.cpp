#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_image.h"
#include "gfx/gp_path.h"
#include "gfx/gp_pen.h"
#include "gfx/gp_string_format.h"
#include "gfx/rounded_rect.h"
#include "gfx/status.h"

namespace rc {
namespace {

constexpr uint32_t kBlue = 0xFF00AEFF;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// Every pixel of the canvas must equal what `expected` says for it.
void ExpectPixels(const Canvas& c, const std::function<Pixel(int32_t, int32_t)>& expected) {
  for (int32_t y = 0; y < c.Height(); ++y) {
    for (int32_t x = 0; x < c.Width(); ++x) {
      ASSERT_EQ(c.At(x, y), expected(x, y)) << "at (" << x << ", " << y << ")";
    }
  }
}

// The smallest box holding every touched (non-zero) pixel.
Box TouchedBounds(const Canvas& c) {
  Box b;
  bool any = false;
  for (int32_t y = 0; y < c.Height(); ++y) {
    for (int32_t x = 0; x < c.Width(); ++x) {
      if (c.At(x, y) == 0) continue;
      b = any ? UnionBox(b, Box{x, y, 1, 1}) : Box{x, y, 1, 1};
      any = true;
    }
  }
  return b;
}

struct Drawing : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(pen.Create(kBlue, 1));
    ASSERT_TRUE(brush.Create(kWhite));
    ASSERT_TRUE(path.Create());
  }
  GpGraphics g;
  GpPen pen;
  GpSolidBrush brush;
  GpPath path;
};

TEST_F(Drawing, OnePixelOutlineAtIntegersIsCrisp) {
  ASSERT_TRUE(g.CreateCanvas(20, 14));
  ASSERT_TRUE(g.DrawRectangle(pen, 2, 2, 10, 6));
  ExpectPixels(g.CanvasDC(), [](int32_t x, int32_t y) -> Pixel {
    const bool side = (x == 2 || x == 12) && y >= 2 && y <= 8;
    const bool edge = (y == 2 || y == 8) && x >= 2 && x <= 12;
    return side || edge ? kBlue : 0;
  });
}

TEST_F(Drawing, FillRectangleCoversWholePixelsOnly) {
  ASSERT_TRUE(g.CreateCanvas(8, 8));
  ASSERT_TRUE(g.FillRectangle(brush, 0, 0, 5, 5));
  ExpectPixels(g.CanvasDC(), [](int32_t x, int32_t y) -> Pixel { return x < 5 && y < 5 ? kWhite : 0; });
  // A fill starting half-way into a pixel covers it half.
  ASSERT_TRUE(g.CreateCanvas(4, 1));
  ASSERT_TRUE(g.FillRectangle(brush, 0.5f, 0, 2, 1));
  EXPECT_EQ(g.CanvasDC().At(0, 0), 0x80808080u);
  EXPECT_EQ(g.CanvasDC().At(1, 0), kWhite);
  EXPECT_EQ(g.CanvasDC().At(2, 0), 0x80808080u);
  EXPECT_EQ(g.CanvasDC().At(3, 0), 0u);
}

TEST_F(Drawing, LinesFollowPixelCentres) {
  ASSERT_TRUE(pen.SetColor(kWhite));
  ASSERT_TRUE(g.CreateCanvas(6, 12));
  ASSERT_TRUE(g.DrawLine(pen, 2.5f, 0, 2.5f, 10));
  for (int32_t y = 1; y <= 9; ++y) {
    EXPECT_EQ(g.CanvasDC().At(2, y), 0x80808080u) << y;
    EXPECT_EQ(g.CanvasDC().At(3, y), 0x80808080u) << y;
    EXPECT_EQ(g.CanvasDC().At(1, y) | g.CanvasDC().At(4, y), 0u) << y;
  }
  // Flat caps: the line ends half-way into its end pixels.
  EXPECT_EQ(AlphaOf(g.CanvasDC().At(2, 0)), 64);
  EXPECT_EQ(g.CanvasDC().At(2, 11), 0u);
}

TEST_F(Drawing, WidePenLines) {
  ASSERT_TRUE(pen.SetWidth(4));
  ASSERT_TRUE(g.CreateCanvas(40, 50));
  ASSERT_TRUE(g.DrawLine(pen, 10, 20, 30, 20));
  const Canvas& c = g.CanvasDC();
  EXPECT_EQ(TouchedBounds(c), (Box{10, 18, 21, 5}));
  for (int32_t y = 19; y <= 21; ++y) EXPECT_EQ(c.At(20, y), kBlue) << y;
  EXPECT_EQ(AlphaOf(c.At(20, 18)), 128);
  EXPECT_EQ(AlphaOf(c.At(20, 22)), 128);
  EXPECT_EQ(AlphaOf(c.At(10, 20)), 128);
  // On a half-pixel y the same pen lies on exactly four rows.
  ASSERT_TRUE(g.CreateCanvas(40, 50));
  ASSERT_TRUE(g.DrawLine(pen, 3, 43.5f, 30, 43.5f));
  EXPECT_EQ(TouchedBounds(g.CanvasDC()).y, 42);
  EXPECT_EQ(TouchedBounds(g.CanvasDC()).height, 4);
  for (int32_t y = 42; y <= 45; ++y) EXPECT_EQ(g.CanvasDC().At(10, y), kBlue) << y;
}

TEST_F(Drawing, RoundedRectanglesSpanTheirDocumentedPixels) {
  // The toolbar background on its 329 x 28 canvas.
  ASSERT_TRUE(g.CreateCanvas(329, 28));
  ASSERT_TRUE(AddRoundedRect(path, 0, 0, 331, 28, 3));
  ASSERT_TRUE(g.FillPath(brush, path));
  ASSERT_TRUE(g.DrawPath(pen, path));
  EXPECT_EQ(TouchedBounds(g.CanvasDC()), (Box{0, 0, 329, 26}));
  EXPECT_EQ(g.CanvasDC().At(164, 13), kWhite);
  EXPECT_EQ(g.CanvasDC().At(164, 0), kBlue);
  EXPECT_EQ(g.CanvasDC().At(0, 13), kBlue);
  // A button highlight: columns 6-27, rows 3-22.
  ASSERT_TRUE(g.CreateCanvas(40, 30));
  ASSERT_TRUE(path.Reset());
  ASSERT_TRUE(AddRoundedRect(path, 6, 3, 24, 22, 3));
  ASSERT_TRUE(g.FillPath(brush, path));
  ASSERT_TRUE(g.DrawPath(pen, path));
  EXPECT_EQ(TouchedBounds(g.CanvasDC()), (Box{6, 3, 22, 20}));
  // The radius is clamped, so a zero radius still rounds by one pixel.
  ASSERT_TRUE(path.Reset());
  ASSERT_TRUE(AddRoundedRect(path, 0, 0, 10, 10, 0));
  ASSERT_EQ(path.Figures().size(), 1u);
  EXPECT_TRUE(path.Figures()[0].closed);
}

TEST_F(Drawing, ArcsRunClockwiseAndFillEvenOdd) {
  ASSERT_TRUE(g.CreateCanvas(40, 40));
  // A quarter from +x towards +y (down): the chord cuts off the lower right.
  ASSERT_TRUE(path.AddArc(0, 0, 40, 40, 0, 90));
  ASSERT_TRUE(path.CloseAllFigures());
  ASSERT_TRUE(g.FillPath(brush, path));
  EXPECT_EQ(g.CanvasDC().At(32, 32), kWhite);
  EXPECT_EQ(g.CanvasDC().At(5, 5), 0u);
  EXPECT_EQ(g.CanvasDC().At(34, 5), 0u);
  // Two full circles, one inside the other: a ring with a hole.
  ASSERT_TRUE(g.CreateCanvas(40, 40));
  ASSERT_TRUE(path.Reset());
  ASSERT_TRUE(path.AddArc(0, 0, 40, 40, 0, 360));
  ASSERT_TRUE(path.CloseAllFigures());
  ASSERT_TRUE(path.AddArc(10, 10, 20, 20, 0, 360));
  ASSERT_TRUE(path.CloseAllFigures());
  ASSERT_TRUE(g.FillPath(brush, path));
  EXPECT_EQ(g.CanvasDC().At(20, 20), 0u);
  EXPECT_EQ(g.CanvasDC().At(20, 4), kWhite);
  EXPECT_EQ(g.CanvasDC().At(1, 1), 0u);
}

TEST_F(Drawing, TranslucentColoursCompositeSourceOver) {
  ASSERT_TRUE(g.CreateCanvas(2, 1));
  ASSERT_TRUE(brush.SetColor(0xFF000000));
  ASSERT_TRUE(g.FillRectangle(brush, 1, 0, 1, 1));
  ASSERT_TRUE(brush.SetColor(0x80FF0000));
  ASSERT_TRUE(g.FillRectangle(brush, 0, 0, 2, 1));
  EXPECT_EQ(g.CanvasDC().At(0, 0), 0x80800000u);  // over transparent: premultiplied
  EXPECT_EQ(g.CanvasDC().At(1, 0), 0xFF800000u);  // over opaque black
  EXPECT_EQ(g.PixelAt(1, 0), 0x00000080u);        // COLORREF: red in the low byte
  EXPECT_EQ(g.PixelAt(2, 0), kInvalidColor);
}

TEST_F(Drawing, ShapesPastTheCanvasEdgeAreClipped) {
  ASSERT_TRUE(g.CreateCanvas(10, 10));
  ASSERT_TRUE(g.FillRectangle(brush, -100, 7, 105, 2));
  ASSERT_TRUE(g.DrawRectangle(pen, 8, 8, 1e9f, 1e9f));
  ASSERT_TRUE(g.DrawLine(pen, -1e6f, -1e6f, 1e6f, 1e6f));
  ASSERT_TRUE(g.DrawLine(pen, -1e30f, 0, 1e30f, 0));
  EXPECT_EQ(g.CanvasDC().At(0, 8), kWhite);
  EXPECT_EQ(g.CanvasDC().At(5, 8), 0u);
  EXPECT_EQ(g.CanvasDC().At(3, 0), kBlue);
  EXPECT_EQ(g.CanvasDC().At(9, 8), kBlue);
  // The diagonal crosses (5, 5) corner to corner, so it covers most of it.
  EXPECT_GT(AlphaOf(g.CanvasDC().At(5, 5)), 200);
  EXPECT_EQ(g.CanvasDC().At(7, 4), 0u);
  EXPECT_FALSE(g.FillRectangle(brush, std::nanf(""), 0, 1, 1));
  EXPECT_EQ(LastStatus(), GpStatus::InvalidParameter);
}

TEST(DrawImage, ScalesNearestAndShowsTheEdgeColourBeyondThePicture) {
  GpBitmap image;
  ASSERT_TRUE(image.Create(2, 1));
  image.Pixels().Set(0, 0, 0xFFFF0000);
  image.Pixels().Set(1, 0, 0xFF00FF00);
  GpGraphics g;
  ASSERT_TRUE(g.CreateCanvas(6, 2));
  ASSERT_TRUE(g.SetInterpolationMode(kInterpolationNearestNeighbor));
  ASSERT_TRUE(g.DrawImage(image, 0, 0, 4, 2));
  EXPECT_EQ(g.CanvasDC().At(1, 1), 0xFFFF0000u);
  EXPECT_EQ(g.CanvasDC().At(2, 0), 0xFF00FF00u);
  EXPECT_EQ(g.CanvasDC().At(4, 0), 0u);
  // One picture pixel to the left of the picture: transparent, or black on request.
  ASSERT_TRUE(g.DrawImageRect(image, 4, 0, 2, 1, -1, 0, 2, 1));
  EXPECT_EQ(g.CanvasDC().At(4, 0), 0u);
  EXPECT_EQ(g.CanvasDC().At(5, 0), 0xFFFF0000u);
  ASSERT_TRUE(g.DrawImageRect(image, 4, 1, 2, 1, -1, 0, 2, 1, 0xFF000000));
  EXPECT_EQ(g.CanvasDC().At(4, 1), 0xFF000000u);
}

TEST(Wrappers, ReleaseOfNothingLeavesTheStatusAlone) {
  GpGraphics g;
  GpPen pen;
  GpSolidBrush brush;
  GpFont font;
  GpPath path;
  GpStringFormat format;
  SetLastStatus(GpStatus::ValueOverflow);
  EXPECT_FALSE(g.Delete());
  EXPECT_FALSE(pen.Delete());
  EXPECT_FALSE(brush.Delete());
  EXPECT_FALSE(font.Delete());
  EXPECT_FALSE(path.Delete());
  EXPECT_FALSE(format.Delete());
  EXPECT_EQ(LastStatus(), GpStatus::ValueOverflow);
  // Anything else on an empty wrapper is refused as a bad parameter.
  EXPECT_FALSE(g.DrawLine(pen, 0, 0, 1, 1));
  EXPECT_EQ(LastStatus(), GpStatus::InvalidParameter);
  ASSERT_TRUE(g.CreateCanvas(4, 4));
  EXPECT_FALSE(g.FillPath(brush, path));
  EXPECT_FALSE(path.AddArc(0, 0, 1, 1, 0, 90));
  EXPECT_FALSE(pen.SetWidth(2));
  EXPECT_EQ(LastStatus(), GpStatus::InvalidParameter);
  EXPECT_TRUE(g.Delete());
  EXPECT_EQ(g.CanvasWidth(), 0);
}

TEST(Wrappers, CreatingTwiceKeepsOneObject) {
  const int pens = GpPen::LiveCount();
  const int canvases = GpGraphics::LiveCount();
  {
    GpPen pen;
    GpGraphics g;
    ASSERT_TRUE(pen.Create(kBlue, 1));
    ASSERT_TRUE(pen.Create(kWhite, 2));
    ASSERT_TRUE(g.CreateCanvas(3, 3));
    ASSERT_TRUE(g.CreateCanvas(5, 2));
    EXPECT_EQ(GpPen::LiveCount(), pens + 1);
    EXPECT_EQ(GpGraphics::LiveCount(), canvases + 1);
    EXPECT_EQ(pen.Argb(), kWhite);
    EXPECT_EQ(g.CanvasWidth(), 5);
    EXPECT_EQ(g.PixelAt(4, 1), 0u);
    EXPECT_FALSE(g.CreateCanvas(0, 3));
    EXPECT_EQ(LastStatus(), GpStatus::GenericError);
  }
  EXPECT_EQ(GpPen::LiveCount(), pens);
  EXPECT_EQ(GpGraphics::LiveCount(), canvases);
}

}  // namespace
}  // namespace rc

namespace rc {
namespace {

// At scale 2 every pixel of the 1x drawing becomes a crisp 2 x 2 block.
TEST_F(Drawing, ScaledOutlinesAndFillsAreTheOneXPixelsMagnified) {
  ASSERT_TRUE(g.CreateCanvas(40, 28));
  ASSERT_TRUE(g.SetScale(2));
  ASSERT_TRUE(g.DrawRectangle(pen, 2, 2, 10, 6));
  ASSERT_TRUE(g.FillRectangle(brush, 15, 1, 3, 2));
  ExpectPixels(g.CanvasDC(), [](int32_t x, int32_t y) -> Pixel {
    const int32_t lx = x / 2, ly = y / 2;
    const bool side = (lx == 2 || lx == 12) && ly >= 2 && ly <= 8;
    const bool edge = (ly == 2 || ly == 8) && lx >= 2 && lx <= 12;
    if (side || edge) return kBlue;
    return lx >= 15 && lx < 18 && ly >= 1 && ly < 3 ? kWhite : 0;
  });
}

// Artwork drawn for a scale lands pixel for pixel on a whole pixel.
TEST_F(Drawing, UnscaledPicturesKeepTheirPixelsAtAnyScale) {
  GpBitmap picture;
  ASSERT_TRUE(picture.Create(3, 2));
  for (int32_t i = 0; i < 6; ++i) picture.Pixels().Set(i % 3, i / 3, MakePixel(255, 10 * i, 0, 0));
  ASSERT_TRUE(g.CreateCanvas(10, 8));
  ASSERT_TRUE(g.SetScale(1.5f));
  ASSERT_TRUE(g.DrawImageUnscaled(picture, 1, 1));  // 1.5 rounds to 2
  ExpectPixels(g.CanvasDC(), [&](int32_t x, int32_t y) -> Pixel {
    const bool inside = x >= 2 && x < 5 && y >= 2 && y < 4;
    return inside ? picture.Pixels().At(x - 2, y - 2) : 0;
  });
  EXPECT_FALSE(g.SetScale(0));
  EXPECT_EQ(g.Scale(), 1.5f);
}

}  // namespace
}  // namespace rc
