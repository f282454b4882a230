#include "app/run.h"

#include <algorithm>
#include <utility>

#include "app/compositor.h"
#include "app/conversions.h"
#include "app/exit_cleanup.h"
#include "app/host.h"
#include "app/monitors.h"
#include "app/overlay_cursor.h"
#include "app/runtime_error.h"
#include "app/state.h"
#include "edit/edit_settings.h"
#include "gfx/blend.h"
#include "magnifier/magnifier.h"
#include "overlay/window_proc.h"

namespace rc {

namespace {

// The snapshot's pixels become SnapshotCanvas without a copy when the sizes
// agree (they do unless the screen changed size in between).
void FillSnapshotCanvas(CaptureState& s, int32_t width, int32_t height) {
  if (s.ScreenSnapshot.Width() == width && s.ScreenSnapshot.Height() == height) {
    s.SnapshotCanvas.AdoptCanvas(std::move(s.ScreenSnapshot));
    return;
  }
  s.SnapshotCanvas.CreateCanvas(width, height);
  Canvas& canvas = s.SnapshotCanvas.CanvasDC();
  StretchCopy(canvas, canvas.Bounds(), s.ScreenSnapshot, s.ScreenSnapshot.Bounds());
  s.ScreenSnapshot.Release();
}

// The fast compositor needs no black canvas: it dims the snapshot once.
void ComposeFirstFrameFast(CaptureState& s) {
  s.DimBrush.Create(ToArgb(0x000000));
  s.DimBrush.Delete();
  s.OverlaySurface.UseScene(s.SnapshotCanvas.CanvasDC());
  s.OverlaySurface.Present();
}

// Builds the layers and presents the dimmed screen, the first frame the user sees.
void ComposeFirstFrame(CaptureState& s, int32_t width, int32_t height) {
  const bool fast = ActiveCompositor() == Compositor::Fast;
  // The fast first frame follows at once, so the empty canvas need not be
  // shown before it: nothing of a layered window is visible until then.
  s.OverlaySurface.Attach(HostPresentTarget(), Host().WindowHandle(), !fast);
  FillSnapshotCanvas(s, width, height);
  if (fast) {
    ComposeFirstFrameFast(s);
    return;
  }
  s.OverlaySurface.BlendFrom(s.SnapshotCanvas.CanvasDC(), 0, 0, width, height, 0, 0, width, height, 255,
                             false);
  s.DimBrush.Create(ToArgb(0x000000));
  s.DimCanvas.CreateCanvas(width, height);
  s.DimCanvas.FillRectangle(s.DimBrush, 0, 0, static_cast<float>(width), static_cast<float>(height));
  s.DimBrush.Delete();
  s.OverlaySurface.BlendFrom(s.DimCanvas.CanvasDC(), 0, 0, width, height, 0, 0, width, height, 128, false);
  s.OverlaySurface.Present();
}

// The magnifier follows the pointer from the first move on. Its panel and
// font, loaded here once the first frame is out and before any input is
// read, would otherwise make that move the slowest of the run.
void PrepareFirstMove(const CaptureState& s) {
  std::vector<float> scales;
  for (const Monitor& m : s.Monitors) {
    if (std::find(scales.begin(), scales.end(), m.scale) == scales.end()) scales.push_back(m.scale);
  }
  for (float scale : scales) PrepareMagnifier(scale);
}

// A black overlay that grabs the input and copies black pictures would look
// like a capture while being none.
void RequireSnapshot(const Canvas& snapshot) {
  if (!snapshot.Empty()) return;
  const std::string why = Host().SnapshotError();
  RaiseCaptureError(why.empty() ? "无法读取屏幕画面" : "无法读取屏幕画面：" + why);
}

std::vector<Box> WindowFramesInOverlay(std::vector<Box> frames, const Box& desktop) {
  for (Box& f : frames) f = {f.x - desktop.x, f.y - desktop.y, f.width, f.height};
  return frames;
}

void PaintBlack(Canvas& canvas, const Box& area) {
  canvas.Fill(area, MakePixel(255, 0, 0, 0));
}

// The desktop and its monitors, and black where no monitor shows the
// desktop: whatever the system keeps there is nothing the user can see.
void TakeDesktop(CaptureState& s) {
  s.Desktop = Host().DesktopRect();
  const Point origin{s.Desktop.x, s.Desktop.y};
  s.Monitors = ShiftedMonitors(MonitorsOnDesktop(Host().Monitors(), s.Desktop), origin);
  const Box overlay{0, 0, s.Desktop.width, s.Desktop.height};
  for (const Box& area : UncoveredAreas(overlay, s.Monitors)) PaintBlack(s.ScreenSnapshot, area);
}

// The overlay window's creation handler. The snapshot comes first, before
// the window shows anything, so it never contains the overlay itself.
void OnOverlayCreated() {
  CaptureState& s = State();
  s.ScreenSnapshot = Host().TakeSnapshot();
  RequireSnapshot(s.ScreenSnapshot);
  TakeDesktop(s);
  const Point cursor = Host().CursorPos();
  s.Cursor = {cursor.x - s.Desktop.x, cursor.y - s.Desktop.y};
  Host().SetWindowBounds(s.Desktop);
  Host().SetMousePointer(OverlayCursor());
  Host().MakeTopmost();
  const Box window = Host().WindowBounds();
  ComposeFirstFrame(s, window.width, window.height);
  // Listing the windows asks the server about each of them, so it waits
  // until the first frame shows; the overlay, listed or not, is skipped.
  s.WindowFrames = WindowFramesInOverlay(Host().WindowFrames(), s.Desktop);
  PrepareFirstMove(s);
  s.DragAnchor = s.DragOffset = s.DragSize = Point{-1, -1};
  s.OverlayHook.Hook(Host().WindowHandle(), OverlayWindowProc);
  Host().ProcessPendingMessages();
}

}  // namespace

void RunCapture(const CaptureOptions& options) {
  CreateState();
  State().Edit.options = LoadEditOptions();
  State().Options = options;
  Host().RegisterExitRoutine(ExitCleanup);
  State().GdiplusToken = 1;
  Host().LoadWindow(OnOverlayCreated);
  Host().RunMessageLoop();
}

}  // namespace rc
