#include "overlay/window_proc.h"

#include <algorithm>
#include <cstdint>

#include "app/state.h"
#include "edit/edit_tools.h"
#include "magnifier/magnifier.h"
#include "output/finish.h"
#include "output/save_capture.h"
#include "overlay/frame.h"
#include "overlay/keyboard.h"
#include "overlay/overlay_ops.h"
#include "selection/drag.h"
#include "selection/hit_test.h"
#include "selection/window_snap.h"
#include "toolbar/menu.h"
#include "toolbar/toolbar.h"

namespace rc {

namespace {

void CloseMenu(CaptureState& s) {
  s.MenuOpen = 0;
  s.MenuRect.Clear();
  RedrawFrame(RedrawOption::Clear);
  HandleToolbarEvent(UiEvent::Repaint);
}

// Before a selection exists the window under the pointer is offered, drawn
// as a selection would be.
void ShowHoveredWindow(CaptureState& s) {
  RepaintDimmedScreen();
  s.SnapRect = SnapRectAt(s.Cursor);
  if (s.SnapRect.Width() > 0 && s.SnapRect.Height() > 0) DrawSelection(s.SnapRect);
  PlaceMagnifier();
}

void OnText(const Message& m) {
  if (!TextBoxOpen()) return;
  TypeText(m.text);
  RepaintAfterEdit();
}

void OnMouseMove(CaptureState& s) {
  if (DrawingShape()) {
    TrackShape(s.Cursor, s.Modifiers);
    RedrawFrame(RedrawOption::KeepRects);
    HandleToolbarEvent(UiEvent::Repaint);
  } else if (s.LeftButtonDown == 1) {
    switch (s.CaptureMode) {
      case CaptureMode::Draw:
        TrackRubberBand();
        PlaceMagnifier();
        break;
      case CaptureMode::Adjust:
        TrackMoveOrResize();
        PlaceMagnifier();
        break;
      case CaptureMode::Drag:
        TrackMoveOrResize();
        HandleToolbarEvent(UiEvent::Repaint);
        break;
      case CaptureMode::None: break;
    }
  } else if (s.SelectionComplete == 0) {
    ShowHoveredWindow(s);
  } else {
    RedrawFrame(RedrawOption::KeepRects);
    HandleToolbarEvent(UiEvent::Repaint);
    RefreshHover();
  }
}

// A press off an open text box commits it; inside the selection that is
// all it does. Returns whether the press is used up.
bool PressAtTextBox(CaptureState& s) {
  if (!TextBoxOpen()) return false;
  const bool used = PressWithTextBoxOpen(s.Cursor, s.HitZone == HitZone::Inside);
  RepaintAfterEdit();
  if (used) s.LeftButtonDown = 0;
  return used;
}

// With a tool active a press inside the selection draws instead of moving
// it; the zones stay as they are until the release.
void PressWithTool(CaptureState& s) {
  BeginShape(s.Cursor);
  if (DrawingShape()) {
    s.DragInProgress = 1;
  } else {
    s.LeftButtonDown = 0;
    RepaintAfterEdit();
  }
}

void OnLeftDown(CaptureState& s) {
  s.LeftButtonDown = 1;
  if (s.HitZone != HitZone::Menu && s.MenuOpen == 1) {
    CloseMenu(s);
  } else if (PressAtTextBox(s)) {
    // The press only closed the box.
  } else if (s.HitZone == HitZone::Toolbar) {
    HandleToolbarEvent(UiEvent::Press);
  } else if (s.HitZone == HitZone::Menu) {
    HandleMenuEvent(UiEvent::Press);
  } else if (s.HitZone == HitZone::Inside && ActiveTool() != EditTool::None) {
    PressWithTool(s);
  } else if (s.CaptureMode == CaptureMode::Draw) {
    s.DragAnchor = State().Cursor;
  } else if (s.CaptureMode == CaptureMode::Adjust || s.CaptureMode == CaptureMode::Drag) {
    s.DragInProgress = 1;
  }
}

// Only a drag makes a selection: a click without one leaves the rectangle
// empty, and completing it would show a toolbar over nothing while new
// drags were ignored.
// With window snapping, a click without a drag takes the window under it.
void CompleteSelection(CaptureState& s, Point press) {
  if (s.Options.windowSnap && IsClick(press, s.Cursor)) s.SelectionRect = SnapRectAt(press);
  if (s.SelectionRect.Width() <= 0 || s.SelectionRect.Height() <= 0) return;
  s.SelectionComplete = 1;
  RedrawFrame(RedrawOption::Clear);
  HandleToolbarEvent(UiEvent::Repaint);
}

// A release whose press the overlay never saw (the button was held when
// the program started, or the press reset the capture) does nothing.
void OnLeftUp(CaptureState& s) {
  const bool pressed = s.LeftButtonDown == 1;
  const Point press = s.DragAnchor;
  s.KeyboardPress = 0;
  ResetDragState();
  if (DrawingShape()) {
    EndShape();
    RepaintAfterEdit();
  } else if (s.CaptureMode == CaptureMode::Draw && s.IgnoreNextLeftUp != 0) {
    s.IgnoreNextLeftUp = 0;
  } else if (!pressed) {
    return;
  } else if (s.CaptureMode == CaptureMode::Draw) {
    CompleteSelection(s, press);
  } else if (s.CaptureMode == CaptureMode::Adjust) {
    RedrawFrame(RedrawOption::Clear);
    HandleToolbarEvent(UiEvent::Repaint);
  } else if (s.CaptureMode == CaptureMode::Drag) {
    HandleToolbarEvent(UiEvent::Repaint);
  }
}

void OnRightUp(CaptureState& s) {
  if (s.CaptureMode == CaptureMode::Draw) {
    EndCapture();
  } else if (s.CaptureMode == CaptureMode::Adjust) {
    // A right-click on a handle does nothing.
  } else if (s.CaptureMode == CaptureMode::Drag) {
    RedrawFrame(RedrawOption::Clear);
    HandleToolbarEvent(UiEvent::Repaint);
    s.MenuOpen = 1;
    HandleMenuEvent(UiEvent::Repaint);
  } else if (s.HitZone == HitZone::Outside) {
    if (s.SelectionComplete != 0) {
      ResetSelection();
    } else {
      EndCapture();
    }
  } else if (s.HitZone == HitZone::Toolbar && s.MenuOpen == 1) {
    CloseMenu(s);
  }
}

// The toolbar and the menu take a double-click as the second press it is:
// choosing two tools quickly must not end the capture.
bool OnPanel(HitZone zone) { return zone == HitZone::Toolbar || zone == HitZone::Menu; }

void OnLeftDoubleClick(CaptureState& s) {
  if (OnPanel(s.HitZone)) {
    OnLeftDown(s);
  } else if (s.SelectionComplete == 1) {
    FinishCapture();
  }
}

// Return or Space at the pointer: the first is a press there, the second
// its release, so a selection can be made without the mouse.
void KeyboardPressOrRelease(CaptureState& s) {
  if (s.KeyboardPress == 0) {
    OnLeftDown(s);
    s.KeyboardPress = s.LeftButtonDown;
  } else {
    OnLeftUp(s);
  }
}

void OnKeyBeforeSelection(CaptureState& s, const Message& m) {
  if (MovePointerByKey(m)) {
    UpdateModeFromCursor();
    OnMouseMove(s);
  } else if (m.key == Key::Return || m.key == Key::Space) {
    KeyboardPressOrRelease(s);
  }
}

void OnKeyWithSelection(CaptureState& s, const Message& m) {
  const bool ctrl = m.Has(kModCtrl);
  if (NudgeSelectionByKey(m)) {
    s.MenuOpen = 0;
    // The selection moved under a pointer that did not: find its zone afresh.
    s.LastHitPoint = {INT32_MIN, INT32_MIN};
    UpdateModeFromCursor();
    RedrawFrame(RedrawOption::Clear);
    HandleToolbarEvent(UiEvent::Repaint);
  } else if ((m.key == Key::Return && !ctrl) || (m.key == Key::C && ctrl)) {
    FinishCapture();
  } else if (m.key == Key::S && ctrl) {
    SaveCapture();
  }
}

bool IsPlain(const Message& m) { return !m.Has(kModCtrl) && !m.Has(kModAlt) && !m.Has(kModSuper); }

// An open text box, an active tool and the undo keys see every key first.
// Keys wait while the mouse drags; a press made by a key is the keys' own.
void OnKeyDown(CaptureState& s, const Message& m) {
  if (EditKeyDown(m)) return;
  if (m.key == Key::Escape) EndCapture();
  if (s.LeftButtonDown == 1 && s.KeyboardPress == 0) return;
  if (m.key == Key::Tab && IsPlain(m)) {
    ToggleColourReadout();
    if (s.SelectionComplete == 0) OnMouseMove(s);
  } else if (m.key == Key::C && IsPlain(m)) {
    CopyColourUnderCursor();
  } else if (s.SelectionComplete == 1) {
    OnKeyWithSelection(s, m);
  } else {
    OnKeyBeforeSelection(s, m);
  }
}

void Dispatch(CaptureState& s, const Message& m) {
  switch (m.kind) {
    case MessageKind::KeyDown: OnKeyDown(s, m); break;
    case MessageKind::Text: OnText(m); break;
    case MessageKind::MouseMove: OnMouseMove(s); break;
    case MessageKind::LeftDown: OnLeftDown(s); break;
    case MessageKind::LeftUp: OnLeftUp(s); break;
    case MessageKind::LeftDoubleClick: OnLeftDoubleClick(s); break;
    case MessageKind::RightUp: OnRightUp(s); break;
    default: break;
  }
}


// The moves that the program's own pointer moves (by key) send back arrive
// late: one that was overtaken by a later move by key is no news.
bool OvertakenMove(CaptureState& s, Point p) {
  const auto it = std::find(s.PendingPointerMoves.begin(), s.PendingPointerMoves.end(), p);
  if (it == s.PendingPointerMoves.end()) {
    s.PendingPointerMoves.clear();
    return false;
  }
  s.PendingPointerMoves.erase(s.PendingPointerMoves.begin(), it + 1);
  return !s.PendingPointerMoves.empty();
}

// Keys report where the pointer was when they were pressed, which a move
// by key may have changed since; the pointer's own messages say where it is.
void TakePosition(CaptureState& s, const Message& m) {
  if (!m.IsPointer()) return;
  s.Modifiers = m.mods;
  if (m.kind == MessageKind::KeyDown || m.kind == MessageKind::KeyUp || m.kind == MessageKind::Text) return;
  const Point p{m.pos.x - s.Desktop.x, m.pos.y - s.Desktop.y};
  if (!OvertakenMove(s, p)) s.Cursor = p;
}

}  // namespace

intptr_t OverlayWindowProc(const Message& message) {
  CaptureState& s = State();
  TakePosition(s, message);
  UpdateModeFromCursor();
  Dispatch(s, message);
  s.OverlaySurface.Present();
  return s.OverlayHook.CallPrevious(message);
}

}  // namespace rc
