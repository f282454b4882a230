#include "toolbar/menu.h"

#include "app/host.h"
#include "app/state.h"
#include "gfx/gp_graphics.h"
#include "output/finish.h"
#include "output/save_capture.h"
#include "overlay/overlay_ops.h"
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

// The hovered row is the same row of the highlighted picture.
void DrawHighlightedRow(GpGraphics& canvas, const IntRect& highlight) {
  const GpImage& hover = MenuHoverImage();
  if (!hover.Holds()) return;
  canvas.DrawImageRect(hover, static_cast<float>(highlight.left), static_cast<float>(highlight.top),
                       static_cast<float>(highlight.Width()), static_cast<float>(highlight.Height()),
                       static_cast<float>(highlight.left) - kPictureOffset,
                       static_cast<float>(highlight.top) - kPictureOffset, static_cast<float>(highlight.Width()),
                       static_cast<float>(highlight.Height()));
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
    default: break;  // the tools, undo and hiding the toolbar only highlight
  }
}

}  // namespace

void PaintMenu(const IntRect& highlight) {
  GpGraphics canvas;
  canvas.CreateCanvas(kMenuCanvasWidth, kMenuCanvasHeight);
  DrawBackground(canvas);
  const GpImage& picture = MenuImage();
  if (picture.Holds()) {
    canvas.DrawImage(picture, kPictureOffset, kPictureOffset, static_cast<float>(picture.Width()),
                     static_cast<float>(picture.Height()));
  }
  if (!highlight.HasZeroField()) DrawHighlightedRow(canvas, highlight);
  CaptureState& s = State();
  s.MenuRect.right = s.MenuRect.left + kMenuCanvasWidth;
  s.MenuRect.bottom = s.MenuRect.top + kMenuCanvasHeight;
  s.OverlaySurface.BlendFrom(canvas.CanvasDC(), 0, 0, kMenuCanvasWidth, kMenuCanvasHeight, s.MenuRect.left,
                             s.MenuRect.top, kMenuCanvasWidth, kMenuCanvasHeight, 255, true);
}

void HandleMenuEvent(UiEvent event) {
  if (event == UiEvent::Repaint) {
    const Point origin = MenuOrigin(State().Cursor, Host().ScreenSize());
    State().MenuRect.left = origin.x;
    State().MenuRect.top = origin.y;
    PaintMenu(IntRect{});
    return;
  }
  IntRect highlight;
  int32_t index = kMenuNoItem;
  const bool hit = HitTestMenu(highlight, index);
  PaintMenu(hit ? highlight : IntRect{});
  if (event == UiEvent::Press) RunItem(index);
}

}  // namespace rc
