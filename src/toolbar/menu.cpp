#include "toolbar/menu.h"

#include "app/monitors.h"
#include "app/state.h"
#include "edit/edit_tools.h"
#include "gfx/gp_graphics.h"
#include "output/finish.h"
#include "output/save_capture.h"
#include "overlay/frame.h"
#include "overlay/overlay_ops.h"
#include "toolbar/toolbar.h"
#include "toolbar/artwork.h"
#include "toolbar/menu_layout.h"
#include "toolbar/rounded_panel.h"

namespace rc {

namespace {

constexpr uint32_t kBackgroundFill = 0xFFFFFFFF;
constexpr uint32_t kOutline = 0xFF666666;
constexpr int kCornerSize = 6;
constexpr float kPictureOffset = 2;  // the picture sits 2 px in from the menu's corner

void DrawBackground(GpGraphics& canvas) {
  DrawRoundedPanel(canvas, 0, 0, kMenuCanvasWidth + 2, kMenuCanvasHeight, kCornerSize, kBackgroundFill, kOutline);
}

// The hovered row is the same row of the highlighted picture, which is
// drawn for the canvas's scale: its pixels are the 1x layout times it.
void DrawHighlightedRow(GpGraphics& canvas, const IntRect& highlight) {
  const float scale = canvas.Scale();
  const GpImage& hover = MenuHoverImage(scale);
  if (!hover.Holds()) return;
  const auto w = static_cast<float>(highlight.Width());
  const auto h = static_cast<float>(highlight.Height());
  canvas.DrawImageRect(hover, static_cast<float>(highlight.left), static_cast<float>(highlight.top), w, h,
                       (static_cast<float>(highlight.left) - kPictureOffset) * scale,
                       (static_cast<float>(highlight.top) - kPictureOffset) * scale, w * scale, h * scale);
}

// The tools and undo change what the frame shows, so they run before the
// menu is painted; the menu stays open, as a second press (or the second
// click of a double-click) on the same row may follow. Returns whether the
// index was one of them.
bool RunEditItem(int32_t index) {
  if (index < kMenuRectangle || index > kMenuUndo) return false;
  if (index == kMenuUndo) UndoShape();
  else ChooseTool(static_cast<EditTool>(index));
  RedrawFrame(RedrawOption::KeepRects);
  HandleToolbarEvent(UiEvent::Repaint);
  return true;
}

void RunItem(int32_t index) {
  switch (index) {
    case kMenuReselect:
      ResetSelection();
      // The button is still down; its release must not complete an empty selection.
      State().IgnoreNextLeftUp = 1;
      break;
    case kMenuFinish: FinishCapture(); break;
    case kMenuSave: SaveCapture(); break;
    case kMenuExit: EndCapture();
    default: break;  // hiding the toolbar only highlights
  }
}

}  // namespace

void PaintMenu(const IntRect& highlight) {
  CaptureState& s = State();
  const Size size = MenuSize(s.MenuScale);
  GpGraphics canvas;
  canvas.CreateCanvas(size.width, size.height);
  canvas.SetScale(s.MenuScale);
  DrawBackground(canvas);
  const GpImage& picture = MenuImage(s.MenuScale);
  if (picture.Holds()) canvas.DrawImageUnscaled(picture, kPictureOffset, kPictureOffset);
  if (!highlight.HasZeroField()) DrawHighlightedRow(canvas, highlight);
  s.MenuRect.right = s.MenuRect.left + size.width;
  s.MenuRect.bottom = s.MenuRect.top + size.height;
  s.OverlaySurface.BlendFrom(canvas.CanvasDC(), 0, 0, size.width, size.height, s.MenuRect.left, s.MenuRect.top,
                             size.width, size.height, 255, true);
}

void HandleMenuEvent(UiEvent event) {
  CaptureState& s = State();
  if (event == UiEvent::Repaint) {
    // The menu opens on the cursor's monitor, at its scale, and keeps it.
    const Monitor& monitor = MonitorAt(s.Monitors, s.Cursor);
    s.MenuScale = monitor.scale;
    const Point origin = MenuOrigin(s.Cursor, monitor.rect, s.MenuScale);
    s.MenuRect.left = origin.x;
    s.MenuRect.top = origin.y;
    PaintMenu(IntRect{});
    return;
  }
  IntRect highlight;
  int32_t index = kMenuNoItem;
  const bool hit = HitTestMenu(highlight, index);
  if (event == UiEvent::Press) RunEditItem(index);
  PaintMenu(hit ? highlight : IntRect{});
  if (event == UiEvent::Press) RunItem(index);
}

}  // namespace rc
