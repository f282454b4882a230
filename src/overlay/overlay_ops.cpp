#include "overlay/overlay_ops.h"

#include <cstdint>
#include <cstdlib>

#include "app/host.h"
#include "app/overlay_cursor.h"
#include "app/state.h"
#include "edit/edit_tools.h"
#include "toolbar/menu.h"
#include "toolbar/toolbar.h"

namespace rc {

void EndCapture() {
  CaptureState& s = State();
  s.OverlaySurface.Settle();  // it may still be reading the snapshot
  s.SnapshotCanvas.Delete();
  s.DimCanvas.Delete();
  s.OverlaySurface.Detach();
  Host().EndProgram(0);
  std::abort();  // EndProgram never returns; this keeps the promise visible
}

void ResetSelection() {
  CaptureState& s = State();
  s.SelectionComplete = 0;
  s.LeftButtonDown = 0;
  s.MenuOpen = 0;
  s.DragInProgress = 0;
  s.HitZone = HitZone::None;
  // The zone is found afresh even where the pointer has not moved since.
  s.LastHitPoint = {INT32_MIN, INT32_MIN};
  Host().SetMousePointer(OverlayCursor());
  s.DragOffset = s.DragSize = s.DragAnchor = Point{-1, -1};
  s.SelectionRect.Clear();
  s.ToolbarRect.Clear();
  s.MenuRect.Clear();
  DropShapes();
  RepaintDimmedScreen();
}

void RepaintDimmedScreen() {
  CaptureState& s = State();
  if (s.OverlaySurface.UsesScene()) {
    s.OverlaySurface.ResetToDimmed();
    return;
  }
  const Box window = Host().WindowBounds();
  const int32_t w = window.width;
  const int32_t h = window.height;
  s.OverlaySurface.BlendFrom(s.SnapshotCanvas.CanvasDC(), 0, 0, w, h, 0, 0, w, h, 255, false);
  s.OverlaySurface.BlendFrom(s.DimCanvas.CanvasDC(), 0, 0, w, h, 0, 0, w, h, 128, false);
}

void RefreshHover() {
  CaptureState& s = State();
  if (s.SelectionComplete != 1) return;
  if (s.MenuOpen == 0) {
    HandleToolbarEvent(UiEvent::Hover);
  } else {
    HandleMenuEvent(UiEvent::Hover);
  }
}

}  // namespace rc
