// Anti-aliased scanline coverage rasteriser: polygons in, exact area
// coverage per pixel out, composited source-over in a straight ARGB colour.
#pragma once

#include <cstdint>
#include <vector>

#include "gfx/canvas.h"

namespace rc {

struct PointD {
  double x = 0;
  double y = 0;
};

// A closed polygon; the last point joins back to the first.
using Polygon = std::vector<PointD>;

enum class FillRule { EvenOdd, NonZero };

// Pixel (i, j) is the square [i, i + 1) x [j, j + 1): a polygon with integer
// corners covers whole pixels and nothing else.
void FillPolygons(Canvas& canvas, const std::vector<Polygon>& polygons, FillRule rule, uint32_t argb);

// Lays a straight (not premultiplied) ARGB colour at `coverage` (0..255)
// over one premultiplied pixel.
Pixel CompositeCoverage(Pixel dst, uint32_t argb, uint8_t coverage);

}  // namespace rc
