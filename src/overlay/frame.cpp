#include "overlay/frame.h"

#include <cstdio>
#include <cstdlib>

#include "app/conversions.h"
#include "app/state.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_pen.h"
#include "gfx/gp_string_format.h"
#include "overlay/overlay_ops.h"

namespace rc {

namespace {

constexpr int32_t kLabelWidth = 72;
constexpr int32_t kLabelHeight = 20;
constexpr int32_t kLabelAboveThreshold = 23;
constexpr uint32_t kOpaqueBlack = 0xFF000000;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;

// Eight 5 x 5 handles on the frame canvas, whose outline starts at (2, 2):
// the top middle one sits 2 pixels further left than the bottom middle one.
void FillHandles(GpGraphics& frame, GpSolidBrush& brush, int32_t w, int32_t h) {
  const float fw = static_cast<float>(w);
  const float fh = static_cast<float>(h);
  const float corners[8][2] = {{0, 0},      {fw / 2 - 2, 0}, {fw, 0},      {0, fh / 2},
                               {fw, fh / 2}, {0, fh},         {fw / 2, fh}, {fw, fh}};
  for (const auto& c : corners) frame.FillRectangle(brush, c[0], c[1], 5, 5);
}

void BlendLabel(LayeredSurface& surface, const GpGraphics& background, const GpGraphics& text,
                int32_t left, int32_t top) {
  const bool above = top >= kLabelAboveThreshold;
  const int32_t y = above ? top - kLabelAboveThreshold : top + 1;
  // Inside the selection the text sits 2 pixels left of its background.
  const int32_t textX = above ? left : left - 2;
  surface.BlendFrom(background.CanvasDC(), 0, 0, kLabelWidth, kLabelHeight, left, y, kLabelWidth,
                    kLabelHeight, 128, true);
  surface.BlendFrom(text.CanvasDC(), 0, 0, kLabelWidth, kLabelHeight, textX, y, kLabelWidth,
                    kLabelHeight, 255, true);
}

}  // namespace

RectF MakeRectF(float x, float y, float width, float height) { return {x, y, width, height}; }

std::string SizeLabelText(const IntRect& rect) {
  char text[64];
  std::snprintf(text, sizeof text, "%d × %d", std::abs(rect.right - rect.left),
                std::abs(rect.bottom - rect.top));
  return text;
}

void RedrawFrame(RedrawOption option) {
  CaptureState& s = State();
  if (option == RedrawOption::Clear) {
    s.ToolbarRect.Clear();
    s.MenuRect.Clear();
  }
  RepaintDimmedScreen();
  DrawSelection(s.SelectionRect);
}

void DrawSelection(const IntRect& rect) { DrawSelection(State().OverlaySurface, rect); }

void DrawSelection(LayeredSurface& surface, const IntRect& rect, std::optional<uint32_t> borderColour,
                   std::optional<uint32_t> handleColour) {
  int32_t w = TruncToInt(static_cast<double>(rect.right) - rect.left);
  int32_t h = TruncToInt(static_cast<double>(rect.bottom) - rect.top);
  if (w == 0) w = 1;
  if (h == 0) h = 1;
  GpPen pen;
  pen.Create(ToArgb(borderColour.value_or(kSelectionBlue)), 1.0f);
  GpGraphics frame, labelBackground, labelText;
  frame.CreateCanvas(w + 5, h + 5);
  labelBackground.CreateCanvas(kLabelWidth, kLabelHeight);
  labelText.CreateCanvas(kLabelWidth, kLabelHeight);

  surface.BlendFrom(State().SnapshotCanvas.CanvasDC(), rect.left, rect.top, w, h, rect.left, rect.top, w,
                    h, 255, false);
  frame.DrawRectangle(pen, 2, 2, static_cast<float>(w), static_cast<float>(h));
  GpSolidBrush brush;
  brush.Create(ToArgb(handleColour.value_or(kSelectionBlue)));
  FillHandles(frame, brush, w, h);

  brush.SetColor(kOpaqueBlack);
  labelBackground.FillRectangle(brush, 0, 0, kLabelWidth, kLabelHeight);
  GpFont font;
  font.Create("微软雅黑", 11);
  brush.SetColor(kOpaqueWhite);
  labelText.DrawString(SizeLabelText(State().SelectionRect), font, brush, MakeRectF(8, 2, 62, 14),
                       GpStringFormat{});

  surface.BlendFrom(frame.CanvasDC(), 0, 0, w + 5, h + 5, rect.left - 2, rect.top - 2, w + 5, h + 5, 255,
                    true);
  BlendLabel(surface, labelBackground, labelText, rect.left, rect.top);
}

}  // namespace rc
