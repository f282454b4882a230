// Turns a pen's centre line into the polygons it covers: one quad per
// segment with flat ends, plus a miter (or bevel) wedge at every corner.
#pragma once

#include <vector>

#include "gfx/raster.h"

namespace rc {

struct Polyline {
  std::vector<PointD> points;
  bool closed = false;
};

// Corners sharper than this ratio of miter length to pen width are bevelled.
constexpr double kMiterLimit = 10.0;

// Every polygon comes out with the same orientation, so the pieces overlap
// into one shape when filled with FillRule::NonZero.
std::vector<Polygon> StrokePolyline(const Polyline& line, double width);

// The polygon's signed area (shoelace formula); its sign tells the orientation.
double SignedArea(const Polygon& poly);
// Appends `poly` turned to one orientation, so that overlapping pieces fill
// as one under the non-zero rule.
void PushOriented(std::vector<Polygon>& out, Polygon poly);

// Draws the lines with a pen of `width` in a straight ARGB colour. Pen lines
// are centred on pixel centres: a 1-pixel line at integer x fills exactly
// column x, one at x + 0.5 splits between columns x and x + 1.
void StrokePolylines(Canvas& canvas, const std::vector<Polyline>& lines, double width, uint32_t argb);

}  // namespace rc
