#include "toolbar/rounded_panel.h"

#include "gfx/gp_brush.h"
#include "gfx/gp_path.h"
#include "gfx/gp_pen.h"
#include "gfx/rounded_rect.h"

namespace rc {

void DrawRoundedPanel(GpGraphics& canvas, float x, float y, float width, float height, int radius, uint32_t fillArgb,
                      uint32_t outlineArgb) {
  GpPath path;
  path.Create(FillMode::Alternate);
  AddRoundedRect(path, x, y, width, height, radius);
  GpSolidBrush brush;
  brush.Create(fillArgb);
  GpPen pen;
  pen.Create(outlineArgb, 1.0f);
  canvas.FillPath(brush, path);
  canvas.DrawPath(pen, path);
}

}  // namespace rc
