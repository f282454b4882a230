// What the edit tools put on the capture: rectangles, ellipses, arrows,
// freehand strokes (plain or mosaic) and text, in overlay coordinates, so
// that they keep their place on the screen when the selection moves.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "edit/shape_pixels.h"
#include "gfx/geometry.h"
#include "gfx/raster.h"

namespace rc {

enum class ShapeKind { Rectangle, Ellipse, Arrow, Brush, Mosaic, Text };

struct Shape {
  ShapeKind kind = ShapeKind::Rectangle;
  uint32_t argb = 0xFFFF0000;  // straight ARGB
  float width = 2;             // stroke width in physical pixels
  // Rectangle, ellipse, arrow: the two defining points; brush and mosaic:
  // every pointer position in order; text: the box's top-left corner.
  std::vector<PointD> points;
  // Text: its lines (UTF-8) and its em size in physical pixels.
  std::vector<std::string> lines;
  float fontSize = 18;
  // The shape as pixels, made once when the shape is complete.
  ShapePixels pixels;
};

using ShapePtr = std::shared_ptr<const Shape>;

}  // namespace rc
