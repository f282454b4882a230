#include "toolbar/toolbar.h"

#include <array>
#include <map>

#include "app/host.h"
#include "app/state.h"
#include "gfx/gp_graphics.h"
#include "output/finish.h"
#include "output/save_capture.h"
#include "overlay/overlay_ops.h"
#include "toolbar/artwork.h"
#include "toolbar/rounded_panel.h"
#include "toolbar/toolbar_layout.h"

namespace rc {

namespace {

constexpr uint32_t kBackgroundFill = 0xFFDEEEFF;
constexpr uint32_t kBackgroundOutline = 0xFF00AEFF;
constexpr uint32_t kHighlightFill = 0xFFAFE5FF;
constexpr uint32_t kHighlightOutline = 0xFF2A87E4;
constexpr int kCornerSize = 3;

// The toolbar as it looks with `highlight` (no highlight when a field is zero).
void DrawToolbar(GpGraphics& canvas, const IntRect& highlight) {
  const GpImage& strip = ToolbarStripImage();
  // The figure spans w - 3 pixels; +2 makes it end on the canvas's last column.
  DrawRoundedPanel(canvas, 0, 0, kToolbarCanvasWidth + 2, kToolbarCanvasHeight, kCornerSize, kBackgroundFill,
                   kBackgroundOutline);
  if (!highlight.HasZeroField()) {
    DrawRoundedPanel(canvas, static_cast<float>(highlight.left), static_cast<float>(highlight.top),
                     static_cast<float>(highlight.Width() + 2), static_cast<float>(highlight.Height() + 2),
                     kCornerSize, kHighlightFill, kHighlightOutline);
  }
  if (strip.Holds()) {
    canvas.DrawImage(strip, 1, 1, static_cast<float>(strip.Width()), static_cast<float>(strip.Height()));
  }
}

// The toolbar looks the same for the same highlight, so each look (eleven
// at most) is drawn once per run.
const Canvas& ToolbarLook(const IntRect& highlight) {
  static std::map<std::array<int32_t, 4>, Canvas> looks;
  const std::array<int32_t, 4> key = {highlight.left, highlight.top, highlight.right, highlight.bottom};
  auto found = looks.find(key);
  if (found != looks.end()) return found->second;
  GpGraphics canvas;
  canvas.CreateCanvas(kToolbarCanvasWidth, kToolbarCanvasHeight);
  DrawToolbar(canvas, highlight);
  return looks.emplace(key, std::move(canvas.CanvasDC())).first->second;
}

void RunButton(int32_t index) {
  switch (index) {
    case kToolbarSave: SaveCapture(); break;
    case kToolbarCancel: EndCapture();
    case kToolbarFinish: FinishCapture(); break;
    default: break;  // the tools, undo and the picture buttons only highlight
  }
}

}  // namespace

void PaintToolbar(const IntRect& highlight) {
  const Canvas& look = ToolbarLook(highlight);
  CaptureState& s = State();
  s.ToolbarRect = PlaceToolbar(s.SelectionRect, Host().ScreenSize().height);
  s.OverlaySurface.BlendFrom(look, 0, 0, kToolbarCanvasWidth, kToolbarCanvasHeight,
                             s.ToolbarRect.left, s.ToolbarRect.top, kToolbarCanvasWidth, kToolbarCanvasHeight, 255,
                             true);
}

void HandleToolbarEvent(UiEvent event) {
  if (event == UiEvent::Repaint) {
    PaintToolbar(IntRect{});
    return;
  }
  IntRect highlight;
  int32_t index = kToolbarNoButton;
  const bool hit = HitTestToolbar(highlight, index);
  PaintToolbar(hit ? highlight : IntRect{});
  // A press acts on the index found even without a hit; the drop arrow's
  // index has no action, so nothing runs there.
  if (event == UiEvent::Press) RunButton(index);
}

}  // namespace rc
