// Every global of the program, in one object created at start-up and
// destroyed by ExitCleanup. Members keep the program's established names.
#pragma once

#include <cstdint>
#include <memory>

#include <vector>

#include "app/capture_options.h"
#include "app/monitors.h"
#include "edit/edit_session.h"
#include "gfx/canvas.h"
#include "gfx/geometry.h"
#include "gfx/gp_brush.h"
#include "gfx/gp_graphics.h"
#include "selection/zones.h"
#include "win/layered_surface.h"
#include "app/window_hook.h"

namespace rc {

struct CaptureState {
  // Non-zero once the graphics layer has started.
  uintptr_t GdiplusToken = 0;

  // The frozen picture of the whole screen, as the host photographed it.
  // Start-up moves its pixels into SnapshotCanvas, which from then on is
  // the one copy of the undimmed screen.
  Canvas ScreenSnapshot;
  GpGraphics SnapshotCanvas;
  GpSolidBrush DimBrush;
  // Opaque black, blended at alpha 128 over the snapshot to dim the screen.
  GpGraphics DimCanvas;
  LayeredSurface OverlaySurface;
  WindowHook OverlayHook;

  IntRect MenuRect;
  IntRect SelectionRect;
  IntRect ToolbarRect;
  // The UI scale the toolbar and the menu were last drawn at: their hit
  // tables are read at the same scale.
  float ToolbarScale = 1.0f;
  float MenuScale = 1.0f;

  rc::CaptureMode CaptureMode = rc::CaptureMode::None;
  rc::HitZone HitZone = rc::HitZone::None;
  rc::HitZone AdjustZone = rc::HitZone::None;

  int32_t LeftButtonDown = 0;
  int32_t SelectionComplete = 0;
  int32_t IgnoreNextLeftUp = 0;
  int32_t MenuOpen = 0;
  int32_t DragInProgress = 0;

  Point DragAnchor{-1, -1};
  Point DragOffset{-1, -1};
  Point DragSize{-1, -1};
  Point LastHitPoint{0, 0};
  // The desktop in desktop coordinates, and its monitors in overlay
  // coordinates: the overlay's (0, 0) is the desktop's top-left corner.
  Box Desktop;
  std::vector<Monitor> Monitors;

  // The pointer, in overlay coordinates, as the message being handled (or
  // the latest one that carried a position) reports it.
  Point Cursor{0, 0};
  // The modifiers held when that message happened (Modifier bits).
  uint32_t Modifiers = 0;

  // The edit tools and the shapes drawn on the selection.
  EditSession Edit;

  // What the command line and the settings asked of this run.
  CaptureOptions Options;

  // The frames of the windows the snapshot shows, top-most first, in
  // overlay coordinates: what a click without a drag selects.
  std::vector<Box> WindowFrames;
  // The window (or monitor) under the pointer before a selection exists,
  // shown like a selection; zero when there is none.
  IntRect SnapRect;
  // 1 while a press made with Return or Space waits for its release.
  int32_t KeyboardPress = 0;
  // Where moves by key put the pointer, until the moves come back as messages.
  std::vector<Point> PendingPointerMoves;
  // 1 when the magnifier reads the colour out as HEX:#RRGGBB, else RGB:(r,g,b).
  int32_t HexReadout = 0;
};

// The running capture's state. Exists from start-up until ExitCleanup.
CaptureState& State();
bool HasState();
void CreateState();
void DestroyState();

}  // namespace rc
