#include <cmath>

#include "app/state.h"
#include "edit/edit_scale.h"
#include "edit/edit_tools.h"
#include "edit/shape_geometry.h"

namespace rc {

namespace {

ShapeKind KindFor(EditTool tool, bool mosaic) {
  switch (tool) {
    case EditTool::Ellipse: return ShapeKind::Ellipse;
    case EditTool::Arrow: return ShapeKind::Arrow;
    case EditTool::Brush: return mosaic ? ShapeKind::Mosaic : ShapeKind::Brush;
    case EditTool::Text: return ShapeKind::Text;
    default: return ShapeKind::Rectangle;
  }
}

MosaicBlocks& Mosaic(EditSession& e, Point p) {
  const int32_t block = std::max(1, static_cast<int32_t>(std::lround(kMosaicBlock * EditScaleAt(p))));
  if (!e.mosaic || e.mosaic->BlockSize() != block) {
    e.mosaic = std::make_unique<MosaicBlocks>(State().SnapshotCanvas.CanvasDC(), block);
  }
  return *e.mosaic;
}

// The far point after Shift's constraint.
PointD Constrained(const Shape& shape, PointD anchor, PointD p, bool shift) {
  if (!shift) return p;
  if (shape.kind == ShapeKind::Arrow) return SnapTo45(anchor, p);
  return ConstrainSquare(anchor, p);
}

std::vector<Polygon> OutlineOf(const Shape& s) {
  switch (s.kind) {
    case ShapeKind::Ellipse: return EllipsePolygons(s.points[0], s.points[1], s.width);
    case ShapeKind::Arrow: return ArrowPolygons(s.points[0], s.points[1], s.width);
    default: return RectanglePolygons(s.points[0], s.points[1], s.width);
  }
}

}  // namespace

bool BeginShape(Point p) {
  EditSession& e = State().Edit;
  if (e.tool == EditTool::None) return false;
  if (e.tool == EditTool::Text) return PressWithTextBoxOpen(p, true);
  auto shape = std::make_shared<Shape>();
  shape->kind = KindFor(e.tool, e.options.mosaic);
  shape->argb = CurrentColour();
  shape->width = StrokeWidthAt(p) * (shape->kind == ShapeKind::Mosaic ? kMosaicWidthFactor : 1);
  e.anchor = {static_cast<double>(p.x), static_cast<double>(p.y)};
  shape->points = {e.anchor, e.anchor};
  const bool mosaic = shape->kind == ShapeKind::Mosaic;
  e.liveRaster = ShapeRaster(shape->argb, mosaic ? &Mosaic(e, p) : nullptr);
  e.live = std::move(shape);
  e.moved = false;
  return true;
}

bool DrawingShape() { return State().Edit.live != nullptr; }

void TrackShape(Point p, uint32_t mods) {
  EditSession& e = State().Edit;
  if (!e.live) return;
  Shape& s = *e.live;
  const PointD at{static_cast<double>(p.x), static_cast<double>(p.y)};
  if (s.kind == ShapeKind::Brush || s.kind == ShapeKind::Mosaic) {
    const PointD last = s.points.back();
    if (last.x == at.x && last.y == at.y) return;
    if (!e.moved) s.points.pop_back();  // the press put the anchor in twice
    s.points.push_back(at);
    e.moved = true;
    e.liveRaster.Append(BrushPolygons(s.points, s.width, e.liveRaster.Empty() ? 0 : s.points.size() - 1), s.pixels);
    return;
  }
  s.points[1] = Constrained(s, e.anchor, at, (mods & kModShift) != 0);
  e.moved = e.moved || at.x != e.anchor.x || at.y != e.anchor.y;
  e.liveRaster.Replace(OutlineOf(s), s.pixels);
}

void EndShape() {
  EditSession& e = State().Edit;
  if (!e.live) return;
  std::shared_ptr<Shape> shape = std::move(e.live);
  e.live.reset();
  e.liveRaster = ShapeRaster();
  if (e.moved && !shape->pixels.Empty()) e.history.Add(std::move(shape));
}

}  // namespace rc
