// Anti-aliased scanline coverage rasteriser: polygons in, exact area
// coverage per pixel out, composited source-over in a straight ARGB colour.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "gfx/blend.h"
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

// One edge's share of one pixel: `area` is the covered part of the pixel,
// `cover` the height carried to every pixel further right. Pieces left of
// the canvas carry their height in from x = -1.
struct EdgeCell {
  int32_t y = 0;
  int32_t x = 0;
  double cover = 0;
  double area = 0;
  friend bool operator==(const EdgeCell&, const EdgeCell&) = default;
};

// The edges of `polygons`, moved by -`offset`, split into the pixels of a
// canvas of `size`, appended to `cells` in the order the edges come. Two
// equal lists give equal pixels, which lets a caller skip a fill.
void SplitEdges(const std::vector<const Polygon*>& polygons, PointD offset, Size size, std::vector<EdgeCell>& cells);
// Lays the split edges over `canvas` (of the size they were split for) as
// FillPolygons does, summing each pixel's shares in list order instead of
// sorting them: quicker on a small canvas, such as one tile of a shape.
void FillEdgeCells(Canvas& canvas, const std::vector<EdgeCell>& cells, FillRule rule, uint32_t argb);

// Lays a straight (not premultiplied) ARGB colour at `coverage` (0..255)
// over one premultiplied pixel. Inline: text and fills call it per pixel.
inline Pixel CompositeCoverage(Pixel dst, uint32_t argb, uint8_t coverage) {
  const uint32_t sa = Div255((argb >> 24) * coverage);
  const uint32_t keep = 255 - sa;
  Pixel out = std::min<uint32_t>(sa + Div255(AlphaOf(dst) * keep), 255) << 24;
  for (int shift = 0; shift < 24; shift += 8) {
    const uint32_t s = Div255(((argb >> shift) & 0xFFu) * sa);
    const uint32_t d = Div255(((dst >> shift) & 0xFFu) * keep);
    out |= std::min<uint32_t>(s + d, 255) << shift;
  }
  return out;
}

}  // namespace rc
