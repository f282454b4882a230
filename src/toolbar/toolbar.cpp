#include "toolbar/toolbar.h"

#include <map>
#include <tuple>

#include "app/monitors.h"
#include "app/state.h"
#include "edit/edit_tools.h"
#include "edit/options_bar.h"
#include "gfx/gp_graphics.h"
#include "output/finish.h"
#include "output/save_capture.h"
#include "overlay/frame.h"
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
// The active tool's button: a deeper blue than the hover look, so both
// show when the pointer is over another button.
constexpr uint32_t kActiveFill = 0xFF8CCBF5;
constexpr uint32_t kActiveOutline = 0xFF0B5CAD;
constexpr int kCornerSize = 3;

void DrawButtonPanel(GpGraphics& canvas, const IntRect& button, uint32_t fill, uint32_t outline) {
  DrawRoundedPanel(canvas, static_cast<float>(button.left), static_cast<float>(button.top),
                   static_cast<float>(button.Width() + 2), static_cast<float>(button.Height() + 2), kCornerSize, fill,
                   outline);
}

// The toolbar as it looks with `highlight` (no highlight when a field is
// zero) and the button `active` (0: none) pressed in, drawn in the 1x
// layout on a canvas magnified to `scale`.
void DrawToolbar(GpGraphics& canvas, const IntRect& highlight, float scale, int32_t active) {
  canvas.SetScale(scale);
  // The figure spans w - 3 pixels; +2 makes it end on the canvas's last column.
  DrawRoundedPanel(canvas, 0, 0, kToolbarCanvasWidth + 2, kToolbarCanvasHeight, kCornerSize, kBackgroundFill,
                   kBackgroundOutline);
  IntRect pressed;
  int32_t index = 0;
  if (active != 0 && ToolbarButtonAt(ToolbarButtonCentre(active).x, ToolbarButtonCentre(active).y, pressed, index)) {
    DrawButtonPanel(canvas, pressed, kActiveFill, kActiveOutline);
  }
  if (!highlight.HasZeroField()) {
    DrawRoundedPanel(canvas, static_cast<float>(highlight.left), static_cast<float>(highlight.top),
                     static_cast<float>(highlight.Width() + 2), static_cast<float>(highlight.Height() + 2),
                     kCornerSize, kHighlightFill, kHighlightOutline);
  }
  const GpImage& strip = ToolbarStripImage(scale);
  if (strip.Holds()) canvas.DrawImageUnscaled(strip, 1, 1);
}

// The toolbar looks the same for the same highlight, scale and active tool,
// so each look is drawn once per run.
const Canvas& ToolbarLook(const IntRect& highlight, float scale, int32_t active) {
  using Key = std::tuple<float, int32_t, int32_t, int32_t, int32_t, int32_t>;
  static std::map<Key, Canvas> looks;
  const Key key = {scale, highlight.left, highlight.top, highlight.right, highlight.bottom, active};
  auto found = looks.find(key);
  if (found != looks.end()) return found->second;
  const Size size = ToolbarSize(scale);
  GpGraphics canvas;
  canvas.CreateCanvas(size.width, size.height);
  DrawToolbar(canvas, highlight, scale, active);
  return looks.emplace(key, std::move(canvas.CanvasDC())).first->second;
}

// The tools and undo change what the frame shows, so they run before the
// toolbar is painted. Returns whether the index was one of them.
bool RunEditButton(int32_t index) {
  if (index >= kToolbarRectangle && index <= kToolbarText) {
    ChooseTool(static_cast<EditTool>(index));
  } else if (index == kToolbarUndo) {
    UndoShape();
  } else {
    return false;
  }
  return true;
}

void RunButton(int32_t index) {
  switch (index) {
    case kToolbarSave: SaveCapture(); break;
    case kToolbarCancel: EndCapture();
    case kToolbarFinish: FinishCapture(); break;
    default: break;  // the picture buttons only highlight
  }
}

}  // namespace

void PaintToolbar(const IntRect& highlight) {
  CaptureState& s = State();
  // The toolbar belongs to the monitor of the selection's bottom-right corner.
  const Monitor& monitor = MonitorOfCorner(s.Monitors, s.SelectionRect);
  const Canvas& look = ToolbarLook(highlight, monitor.scale, static_cast<int32_t>(ActiveTool()));
  s.ToolbarRect = PlaceToolbar(s.SelectionRect, monitor.rect, monitor.scale);
  s.ToolbarScale = monitor.scale;
  s.OverlaySurface.BlendFrom(look, 0, 0, look.Width(), look.Height(), s.ToolbarRect.left, s.ToolbarRect.top,
                             look.Width(), look.Height(), 255, true);
  PaintOptionsBar();
}

void HandleToolbarEvent(UiEvent event) {
  if (event == UiEvent::Repaint) {
    PaintToolbar(IntRect{});
    return;
  }
  if (event == UiEvent::Press && PressOptionsBar(State().Cursor)) {
    RepaintAfterEdit();
    return;
  }
  IntRect highlight;
  int32_t index = kToolbarNoButton;
  const bool hit = HitTestToolbar(highlight, index);
  if (event == UiEvent::Press && RunEditButton(index)) RedrawFrame(RedrawOption::KeepRects);
  PaintToolbar(hit ? highlight : IntRect{});
  // A press acts on the index found even without a hit; the drop arrow's
  // index has no action, so nothing runs there.
  if (event == UiEvent::Press) RunButton(index);
}

}  // namespace rc
