// The outlines the edit tools draw, as polygons for the coverage
// rasteriser (non-zero fill), in overlay coordinates where pixel (x, y) is
// the square [x, x + 1) x [y, y + 1) and a pointer position names a pixel.
#pragma once

#include <vector>

#include "gfx/raster.h"

namespace rc {

// Shift: the far corner moved so that the box from `anchor` is a square
// whose side is the longer of the two spans.
PointD ConstrainSquare(PointD anchor, PointD p);
// Shift: the end point moved onto the nearest of the eight directions at
// multiples of 45 degrees from `anchor`.
PointD SnapTo45(PointD anchor, PointD p);

// A rectangle's outline with its edges on the pixels of `a` and `b`.
std::vector<Polygon> RectanglePolygons(PointD a, PointD b, double width);
// The ellipse inscribed in that rectangle, outlined.
std::vector<Polygon> EllipsePolygons(PointD a, PointD b, double width);
// A shaft from `from` and a filled head whose tip is at `to`.
std::vector<Polygon> ArrowPolygons(PointD from, PointD to, double width);
// The head's length along the arrow for a pen width.
double ArrowHeadLength(double width);
// A freehand stroke through every point with round caps and joins. From
// `first` on only: the pieces the points from there add (with the segment
// from the point before), for a stroke that grows as the pointer moves.
std::vector<Polygon> BrushPolygons(const std::vector<PointD>& points, double width, size_t first = 0);

// The part of the plane the polygons may cover, grown by a pixel.
struct BoundsD {
  double left, top, right, bottom;
};
BoundsD PolygonBounds(const Polygon& polygon);

}  // namespace rc
