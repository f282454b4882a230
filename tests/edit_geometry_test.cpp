// The edit tools' geometry and text editing, without a capture: Shift's
// constraints, arrow heads at every angle, exact outlines, and the caret
// moving over multi-byte characters and between lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <numbers>

#include "edit/shape_geometry.h"
#include "edit/shape_raster.h"
#include "edit/text_editor.h"
#include "gfx/raster.h"

namespace rc {
namespace {

uint8_t CoverageAt(const std::vector<Polygon>& polygons, int32_t x, int32_t y, Canvas& scratch) {
  scratch.Fill(0);
  FillPolygons(scratch, polygons, FillRule::NonZero, 0xFFFFFFFF);
  return AlphaOf(scratch.At(x, y));
}

TEST(EditGeometry, ShiftMakesSquaresAndSnapsToEveryFortyFiveDegrees) {
  const PointD a{100, 100};
  for (const PointD p : {PointD{130, 110}, PointD{90, 40}, PointD{40, 95}, PointD{105, 160}}) {
    const PointD q = ConstrainSquare(a, p);
    EXPECT_EQ(std::fabs(q.x - a.x), std::fabs(q.y - a.y));
    EXPECT_EQ(std::fabs(q.x - a.x), std::max(std::fabs(p.x - a.x), std::fabs(p.y - a.y)));
    EXPECT_EQ(q.x < a.x, p.x < a.x);
    EXPECT_EQ(q.y < a.y, p.y < a.y);
  }
  for (int deg = 0; deg < 360; deg += 7) {
    const double t = deg * std::numbers::pi / 180;
    const PointD p{a.x + std::round(80 * std::cos(t)), a.y + std::round(80 * std::sin(t))};
    const PointD q = SnapTo45(a, p);
    const double dx = q.x - a.x, dy = q.y - a.y;
    EXPECT_TRUE(dx == 0 || dy == 0 || std::fabs(dx) == std::fabs(dy)) << deg;
    const double snapped = std::atan2(dy, dx) * 180 / std::numbers::pi;
    double off = std::fmod(std::fabs(snapped - (deg > 180 ? deg - 360 : deg)), 360);
    EXPECT_LE(std::min(off, 360 - off), 22.5 + 1) << deg;
  }
}

TEST(EditGeometry, ArrowHeadsPointAtTheReleaseAtEveryAngle) {
  Canvas scratch(200, 200);
  const PointD from{100, 100};
  for (int deg = 0; deg < 360; deg += 5) {
    const double t = deg * std::numbers::pi / 180;
    const PointD to{std::round(100 + 70 * std::cos(t)), std::round(100 + 70 * std::sin(t))};
    const std::vector<Polygon> arrow = ArrowPolygons(from, to, 4);
    // The shaft starts at the press; a point inside the head, a third of
    // the way back from the tip, is fully covered.
    EXPECT_GT(CoverageAt(arrow, 100, 100, scratch), 100) << deg;
    const double back = ArrowHeadLength(4) / 3;
    const int32_t hx = static_cast<int32_t>(std::floor(to.x + 0.5 - back * std::cos(t)));
    const int32_t hy = static_cast<int32_t>(std::floor(to.y + 0.5 - back * std::sin(t)));
    EXPECT_EQ(scratch.At(hx, hy) >> 24, 255u) << deg;
    // Beside the shaft's middle, further out than the pen but inside what
    // the head spans, nothing is drawn.
    const PointD mid{100 + 35 * std::cos(t), 100 + 35 * std::sin(t)};
    EXPECT_EQ(scratch.At(static_cast<int32_t>(mid.x - 6 * std::sin(t)), static_cast<int32_t>(mid.y + 6 * std::cos(t))), 0u)
        << deg;
  }
}

TEST(EditGeometry, EvenWidthRectanglesAreCrispOnTheChosenPixels) {
  Canvas c(40, 40);
  FillPolygons(c, RectanglePolygons({10, 10}, {30, 20}, 2), FillRule::NonZero, 0xFFFF0000);
  for (int32_t x = 9; x <= 30; ++x) {
    EXPECT_EQ(c.At(x, 9), 0xFFFF0000u) << x;
    EXPECT_EQ(c.At(x, 10), 0xFFFF0000u) << x;
    EXPECT_EQ(c.At(x, 19), 0xFFFF0000u) << x;
    EXPECT_EQ(c.At(x, 20), 0xFFFF0000u) << x;
  }
  EXPECT_EQ(c.At(20, 15), 0u);
  EXPECT_EQ(c.At(8, 15), 0u);
  EXPECT_EQ(c.At(31, 15), 0u);
  EXPECT_EQ(c.At(20, 8), 0u);
}

// A stroke grown point by point gives the pixels of the whole stroke made
// at once: the cells its new part reaches are made again from every piece.
TEST(EditGeometry, GrowingStrokeEqualsTheStrokeMadeAtOnce) {
  std::vector<PointD> points;
  for (int i = 0; i < 60; ++i) points.push_back({20.0 + i * 3, 40.0 + 30 * std::sin(i / 5.0)});
  ShapePixels grown, whole;
  ShapeRaster growing(0xFF00C000), once(0xFF00C000);
  std::vector<PointD> sofar;
  for (const PointD& p : points) {
    sofar.push_back(p);
    growing.Append(BrushPolygons(sofar, 6, sofar.size() - 1), grown);
  }
  once.Replace(BrushPolygons(points, 6), whole);
  Canvas a(260, 120), b(260, 120);
  grown.Render(a, {0, 0}, a.Bounds());
  whole.Render(b, {0, 0}, b.Bounds());
  for (int32_t y = 0; y < 120; ++y)
    for (int32_t x = 0; x < 260; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;
  EXPECT_EQ(AlphaOf(a.At(20, 40)), 255);  // round caps reach the first point
}

// Cell by cell, each shape's pieces give the pixels one fill of the whole
// canvas gives (a share of a pixel may round the other way), and a long
// diagonal arrow makes pieces only along itself, not over its whole box.
TEST(EditGeometry, PiecesEqualTheWholeShapeFilledAtOnce) {
  const std::vector<std::vector<Polygon>> shapes = {
      RectanglePolygons({13, 9}, {420, 301}, 2), RectanglePolygons({400, 300}, {20, 40}, 3),
      EllipsePolygons({30, 20}, {440, 290}, 4), ArrowPolygons({440, 300}, {12, 15}, 8),
      BrushPolygons({{20, 30}, {200, 250}, {210, 40}, {430, 290}}, 6)};
  for (size_t i = 0; i < shapes.size(); ++i) {
    Canvas whole(460, 320), pieces(460, 320);
    FillPolygons(whole, shapes[i], FillRule::NonZero, 0xFF2040C0);
    ShapePixels made;
    ShapeRaster(0xFF2040C0).Replace(shapes[i], made);
    made.Render(pieces, {0, 0}, pieces.Bounds());
    for (int32_t y = 0; y < 320; ++y)
      for (int32_t x = 0; x < 460; ++x) ASSERT_LE(std::abs(AlphaOf(whole.At(x, y)) - AlphaOf(pieces.At(x, y))), 1) << i << " at " << x << "," << y;
    for (const auto& [cell, piece] : made.Pieces()) EXPECT_FALSE(piece.ink.Empty()) << i;
  }
  ShapePixels arrow;
  ShapeRaster().Replace(shapes[3], arrow);
  EXPECT_LT(arrow.Pieces().size(), 20u);  // its box holds 40 cells
}

// A shape made again as the pointer moves keeps the pieces of the cells it
// did not change, stamps and all, and ends with the pixels of the shape
// made once; the ink of a piece holds its pixels and no more.
TEST(EditGeometry, ShapeMadeAgainKeepsTheCellsItDidNotChange) {
  ShapePixels pixels, once;
  ShapeRaster moving(0xFFFF0000);
  moving.Replace(RectanglePolygons({10, 10}, {300, 200}, 2), pixels);
  const std::map<CellKey, ShapePiece> before = pixels.Pieces();
  moving.Replace(RectanglePolygons({10, 10}, {330, 200}, 2), pixels);
  ShapeRaster(0xFFFF0000).Replace(RectanglePolygons({10, 10}, {330, 200}, 2), once);
  ASSERT_EQ(pixels.Pieces().size(), once.Pieces().size());
  EXPECT_EQ(pixels.Pieces().at({0, 1}).stamp, before.at({0, 1}).stamp);  // the left edge
  EXPECT_EQ(pixels.Pieces().at({2, 0}).stamp, before.at({2, 0}).stamp);  // the top edge's middle
  EXPECT_NE(pixels.Pieces().at({4, 0}).stamp, before.at({4, 0}).stamp);  // where the top edge ends now
  EXPECT_FALSE(pixels.Pieces().contains({4, 1}));  // the old right edge is gone
  for (const auto& [cell, piece] : pixels.Pieces()) {
    EXPECT_EQ(piece.ink, IntersectBox(piece.ink, piece.where));
    const Canvas& c = *piece.pixels;
    const Box ink = InkBounds(c);
    EXPECT_EQ(piece.ink, (Box{piece.where.x + ink.x, piece.where.y + ink.y, ink.width, ink.height}));
    for (int32_t y = 0; y < c.Height(); ++y)
      for (int32_t x = 0; x < c.Width(); ++x) ASSERT_EQ(c.At(x, y), once.Pieces().at(cell).pixels->At(x, y));
  }
  EXPECT_EQ(pixels.Pieces().at({0, 1}).ink, (Box{9, 64, 2, 64}));
}

TEST(TextEditor, EditsWholeCharactersAcrossLines) {
  TextEditor t;
  t.Insert("Hi 你好");
  EXPECT_EQ(t.Lines()[0], "Hi 你好");
  t.Backspace();  // one character, three bytes
  EXPECT_EQ(t.Lines()[0], "Hi 你");
  t.Left();
  t.Left();
  EXPECT_EQ(t.CaretByte(), 2u);
  t.Delete();  // the space
  EXPECT_EQ(t.Lines()[0], "Hi你");
  t.End();
  t.NewLine();
  t.Insert("é\r\tx");  // control characters arrive as keys, not text
  EXPECT_EQ(t.Lines().size(), 2u);
  EXPECT_EQ(t.Lines()[1], "éx");
  t.Home();
  t.Backspace();  // at the start of a line: joins it to the one above
  EXPECT_EQ(t.Lines().size(), 1u);
  EXPECT_EQ(t.Lines()[0], "Hi你éx");
  EXPECT_EQ(t.CaretByte(), std::string("Hi你").size());
  t.NewLine();
  t.Up();
  t.End();
  t.Delete();  // at the end of a line: the next joins it
  EXPECT_EQ(t.Lines()[0], "Hi你éx");
  EXPECT_FALSE(t.Empty());
}

TEST(TextEditor, CaretKeepsItsColumnBetweenLinesAndStopsAtTheEnds) {
  TextEditor t;
  t.Insert("你好世界");
  t.NewLine();
  t.Insert("ab");
  t.Up();
  EXPECT_EQ(t.CaretLine(), 0u);
  EXPECT_EQ(t.CaretByte(), 6u);  // two characters in
  t.Up();
  EXPECT_EQ(t.CaretByte(), 0u);  // the first line's Up goes home
  t.Left();
  EXPECT_EQ(t.CaretByte(), 0u);
  t.Backspace();
  EXPECT_EQ(t.Lines().size(), 2u);
  t.Down();
  t.Down();
  t.Right();
  EXPECT_EQ(t.CaretLine(), 1u);
  EXPECT_EQ(t.CaretByte(), 2u);
  TextEditor empty;
  empty.NewLine();
  EXPECT_TRUE(empty.Empty());
}

}  // namespace
}  // namespace rc
