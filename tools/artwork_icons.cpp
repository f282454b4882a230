#include "artwork_icons.h"

#include <initializer_list>

#include "gfx/gp_brush.h"
#include "gfx/gp_path.h"
#include "gfx/gp_pen.h"

namespace rc::artwork {

namespace {

constexpr uint32_t kToolBlue = 0xFF2471C6;
constexpr uint32_t kToolFill = 0xFFEBF4FC;
constexpr uint32_t kBrushOrange = 0xFFE67E22;
constexpr uint32_t kBrushYellow = 0xFFFAC828;
constexpr uint32_t kUndoGreen = 0xFF2EA043;
constexpr uint32_t kDiskBlue = 0xFF34659F;
constexpr uint32_t kDiskShutter = 0xFFC8D2DC;
constexpr uint32_t kPictureFrame = 0xFF646E78;
constexpr uint32_t kPictureSky = 0xFFAAD7F5;
constexpr uint32_t kPictureHill = 0xFF4CA64C;
constexpr uint32_t kPictureArrow = 0xFFF08C1E;
constexpr uint32_t kDropArrow = 0xFF3C3C3C;
constexpr uint32_t kCancelRed = 0xFFE84C24;
constexpr uint32_t kFinishGreen = 0xFF22AA3C;

void Line(GpGraphics& g, uint32_t argb, float width, float x1, float y1, float x2, float y2) {
  GpPen pen;
  pen.Create(argb, width);
  g.DrawLine(pen, x1, y1, x2, y2);
}

// Our paths are made of arcs only; an arc of no size is a corner, and the
// straight joins between consecutive arcs make the polygon's sides.
void FillPolygon(GpGraphics& g, uint32_t argb, std::initializer_list<PointF> corners) {
  GpPath path;
  path.Create();
  for (const PointF& c : corners) path.AddArc(c.x, c.y, 0, 0, 0, 0);
  path.CloseAllFigures();
  GpSolidBrush brush;
  brush.Create(argb);
  g.FillPath(brush, path);
}

void FillEllipse(GpGraphics& g, uint32_t argb, float x, float y, float w, float h) {
  GpPath path;
  path.Create();
  path.AddArc(x, y, w, h, 0, 360);
  path.CloseAllFigures();
  GpSolidBrush brush;
  brush.Create(argb);
  g.FillPath(brush, path);
}

void FillRect(GpGraphics& g, uint32_t argb, float x, float y, float w, float h) {
  GpSolidBrush brush;
  brush.Create(argb);
  g.FillRectangle(brush, x, y, w, h);
}

}  // namespace

void DrawRectangleIcon(GpGraphics& g, float x, float y) {
  FillRect(g, kToolFill, x + 1, y + 2, 15, 14);
  GpPen pen;
  pen.Create(kToolBlue, 1.0f);
  g.DrawRectangle(pen, x + 1.5f, y + 2.5f, 14, 13);
}

void DrawEllipseIcon(GpGraphics& g, float x, float y) {
  GpPath path;
  path.Create();
  path.AddArc(x + 1.5f, y + 3.5f, 14, 11, 0, 360);
  path.CloseAllFigures();
  GpSolidBrush brush;
  brush.Create(kToolFill);
  g.FillPath(brush, path);
  GpPen pen;
  pen.Create(kToolBlue, 1.2f);
  g.DrawPath(pen, path);
}

void DrawArrowIcon(GpGraphics& g, float x, float y) {
  Line(g, kToolBlue, 2.0f, x + 2, y + 16, x + 11, y + 7);
  FillPolygon(g, kToolBlue, {{x + 15.5f, y + 2.5f}, {x + 7, y + 4}, {x + 14, y + 11}});
}

void DrawBrushIcon(GpGraphics& g, float x, float y) {
  Line(g, kBrushOrange, 3.0f, x + 15, y + 2.5f, x + 9, y + 8.5f);
  FillPolygon(g, kBrushYellow,
              {{x + 6.5f, y + 7.5f}, {x + 10.5f, y + 11.5f}, {x + 6, y + 16}, {x + 1, y + 17.5f}, {x + 2.5f, y + 12}});
  Line(g, kBrushOrange, 1.0f, x + 6.5f, y + 7.5f, x + 10.5f, y + 11.5f);
}

void DrawTextIcon(GpGraphics& g, float x, float y) {
  Line(g, kToolBlue, 2.2f, x + 2.5f, y + 17, x + 8, y + 2);
  Line(g, kToolBlue, 2.2f, x + 8, y + 2, x + 13.5f, y + 17);
  Line(g, kToolBlue, 1.6f, x + 4.5f, y + 11.5f, x + 11.5f, y + 11.5f);
}

void DrawUndoIcon(GpGraphics& g, float x, float y) {
  GpPath path;
  path.Create();
  path.AddArc(x + 4, y + 4.5f, 11, 11, 180, 250);
  GpPen pen;
  pen.Create(kUndoGreen, 2.2f);
  g.DrawPath(pen, path);
  FillPolygon(g, kUndoGreen, {{x + 0.5f, y + 8.5f}, {x + 8.5f, y + 8.5f}, {x + 4.5f, y + 14}});
}

void DrawSaveIcon(GpGraphics& g, float x, float y) {
  FillPolygon(g, kDiskBlue,
              {{x + 1, y + 1}, {x + 13, y + 1}, {x + 16, y + 4}, {x + 16, y + 17}, {x + 1, y + 17}});
  FillRect(g, 0xFFFFFFFF, x + 4, y + 2, 8, 6);
  FillRect(g, kDiskBlue, x + 9, y + 3, 2, 4);
  FillRect(g, kDiskShutter, x + 4, y + 11, 9, 5);
}

void DrawPictureIcon(GpGraphics& g, float x, float y) {
  FillRect(g, kPictureSky, x + 1, y + 2, 14, 12);
  FillPolygon(g, kPictureHill, {{x + 1, y + 14}, {x + 6, y + 7}, {x + 10, y + 11}, {x + 12, y + 9}, {x + 15, y + 13},
                                {x + 15, y + 14}});
  FillEllipse(g, 0xFFFFD23C, x + 10, y + 3.5f, 3.5f, 3.5f);
  GpPen pen;
  pen.Create(kPictureFrame, 1.0f);
  g.DrawRectangle(pen, x + 0.5f, y + 1.5f, 14, 12);
  Line(g, kPictureArrow, 2.0f, x + 9.5f, y + 10.5f, x + 14, y + 15);
  FillPolygon(g, kPictureArrow, {{x + 16.5f, y + 17.5f}, {x + 10, y + 17.5f}, {x + 16.5f, y + 11}});
}

// A crisp pixel triangle: rows of 9, 7, 5 and 3 pixels.
void DrawDropArrow(GpGraphics& g, int x, int y) {
  for (int row = 0; row < 4; ++row) {
    FillRect(g, kDropArrow, static_cast<float>(x + row), static_cast<float>(y + row), static_cast<float>(9 - 2 * row), 1);
  }
}

void DrawCancelIcon(GpGraphics& g, float x, float y) {
  Line(g, kCancelRed, 2.6f, x + 2, y + 3, x + 12, y + 13);
  Line(g, kCancelRed, 2.6f, x + 12, y + 3, x + 2, y + 13);
}

void DrawFinishIcon(GpGraphics& g, float x, float y) {
  Line(g, kFinishGreen, 2.6f, x + 2, y + 9, x + 6.5f, y + 13.5f);
  Line(g, kFinishGreen, 2.6f, x + 6.5f, y + 13.5f, x + 15, y + 4);
}

}  // namespace rc::artwork
