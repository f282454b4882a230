#include "overlay/frame.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <map>

#include "app/conversions.h"
#include "app/state.h"
#include "app/ui_scale.h"
#include "edit/edit_tools.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_font.h"
#include "gfx/gp_graphics.h"
#include "gfx/gp_string_format.h"
#include "gfx/text_renderer.h"
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

// The label's canvases at one scale, kept from frame to frame: the
// background never changes, and the text only when the size does.
struct LabelCanvases {
  GpGraphics background;
  GpGraphics text;
  std::string shown;
  uint64_t renderer = 0;  // the text renderer `shown` was drawn with
};

LabelCanvases& LabelAt(float scale) {
  static std::map<float, LabelCanvases> kept;
  auto [found, fresh] = kept.try_emplace(scale);
  LabelCanvases& label = found->second;
  if (fresh) {
    label.background.CreateCanvas(ScalePx(kLabelWidth, scale), ScalePx(kLabelHeight, scale));
    label.text.CreateCanvas(ScalePx(kLabelWidth, scale), ScalePx(kLabelHeight, scale));
    label.background.SetScale(scale);
    label.text.SetScale(scale);
    GpSolidBrush brush;
    brush.Create(kOpaqueBlack);
    label.background.FillRectangle(brush, 0, 0, kLabelWidth, kLabelHeight);
  }
  return label;
}

void DrawLabelText(LabelCanvases& label, const std::string& text) {
  const uint64_t renderer = TextRendererGeneration();
  if (label.shown == text && label.renderer == renderer) return;
  label.text.CanvasDC().Fill(0);
  GpFont font;
  font.Create("微软雅黑", 11);
  GpSolidBrush brush;
  brush.Create(kOpaqueWhite);
  label.text.DrawString(text, font, brush, RectF{8, 2, 62, 14}, GpStringFormat{});
  label.shown = text;
  label.renderer = renderer;
}

// The translucent black label with the selection's size in white.
void DrawSizeLabel(LayeredSurface& surface, int32_t left, int32_t top, float scale) {
  LabelCanvases& label = LabelAt(scale);
  DrawLabelText(label, SizeLabelText(State().SelectionRect));
  BlendLabel(surface, label.background, label.text, left, top, scale);
}

}  // namespace

std::string SizeLabelText(const IntRect& rect) {
  // Drawn on every pointer move: plain digit conversion, no format parsing.
  // The sides are taken in 64 bits: a rectangle spanning more than the int
  // range still shows its true size.
  char text[64];
  const auto side = [](int32_t a, int32_t b) { return std::llabs(static_cast<int64_t>(b) - a); };
  char* end = std::to_chars(text, text + 24, side(rect.left, rect.right)).ptr;
  end = std::copy_n(" × ", std::strlen(" × "), end);
  end = std::to_chars(end, text + sizeof text, side(rect.top, rect.bottom)).ptr;
  return std::string(text, end);
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
