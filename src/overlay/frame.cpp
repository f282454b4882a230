#include "overlay/frame.h"

#include <cstdio>
#include <cstdlib>

#include "app/conversions.h"
#include "app/state.h"
#include "app/ui_scale.h"
#include "edit/edit_tools.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_string_format.h"
#include "overlay/overlay_ops.h"
#include "overlay/selection_frame_layer.h"

namespace rc {

namespace {

constexpr int32_t kLabelWidth = 72;
constexpr int32_t kLabelHeight = 20;
constexpr int32_t kLabelAboveThreshold = 23;
constexpr uint32_t kOpaqueBlack = 0xFF000000;
constexpr uint32_t kOpaqueWhite = 0xFFFFFFFF;

// The label's boxes and distances are those of the 1x layout times `scale`.
void BlendLabel(LayeredSurface& surface, const GpGraphics& background, const GpGraphics& text, int32_t left,
                int32_t top, float scale) {
  const bool above = top >= ScalePx(kLabelAboveThreshold, scale);
  const int32_t y = above ? top - ScalePx(kLabelAboveThreshold, scale) : top + ScalePx(1, scale);
  // Inside the selection the text sits 2 pixels left of its background.
  const int32_t textX = above ? left : left - ScalePx(2, scale);
  const int32_t w = background.CanvasWidth();
  const int32_t h = background.CanvasHeight();
  surface.BlendFrom(background.CanvasDC(), 0, 0, w, h, left, y, w, h, 128, true);
  surface.BlendFrom(text.CanvasDC(), 0, 0, w, h, textX, y, w, h, 255, true);
}

// The translucent black label with the selection's size in white.
void DrawSizeLabel(LayeredSurface& surface, int32_t left, int32_t top, float scale) {
  GpGraphics background, text;
  background.CreateCanvas(ScalePx(kLabelWidth, scale), ScalePx(kLabelHeight, scale));
  text.CreateCanvas(ScalePx(kLabelWidth, scale), ScalePx(kLabelHeight, scale));
  background.SetScale(scale);
  text.SetScale(scale);
  GpSolidBrush brush;
  brush.Create(kOpaqueBlack);
  background.FillRectangle(brush, 0, 0, kLabelWidth, kLabelHeight);
  GpFont font;
  font.Create("微软雅黑", 11);
  brush.SetColor(kOpaqueWhite);
  text.DrawString(SizeLabelText(State().SelectionRect), font, brush, RectF{8, 2, 62, 14}, GpStringFormat{});
  BlendLabel(surface, background, text, left, top, scale);
}

}  // namespace

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
    s.Edit.OptionsRect.Clear();
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
  const uint32_t border = ToArgb(borderColour.value_or(kSelectionBlue));
  const uint32_t handle = ToArgb(handleColour.value_or(kSelectionBlue));

  // The frame and its label belong to the monitor of the top-left corner,
  // where the label sits.
  const float scale = ScaleAt(State().Monitors, {rect.left, rect.top});
  const FrameMetrics metrics = FrameMetricsAt(scale);

  surface.BlendFrom(State().SnapshotCanvas.CanvasDC(), rect.left, rect.top, w, h, rect.left, rect.top, w,
                    h, 255, false);
  DrawShapeLayers(surface, {rect.left, rect.top, w, h});
  if (surface.UsesScene()) {
    surface.AddLayer(std::make_shared<SelectionFrameLayer>(rect.left, rect.top, w, h, border, handle, metrics));
  } else {
    const int32_t fw = metrics.Span(w);
    const int32_t fh = metrics.Span(h);
    GpGraphics frame;
    frame.CreateCanvas(fw, fh);
    DrawFrameDecorations(frame, w, h, border, handle, 0, 0, metrics);
    surface.BlendFrom(frame.CanvasDC(), 0, 0, fw, fh, rect.left - metrics.Reach(), rect.top - metrics.Reach(), fw,
                      fh, 255, true);
  }
  DrawSizeLabel(surface, rect.left, rect.top, scale);
}

}  // namespace rc
