// The text-valued interaction state: what a drag does now, and what lies
// under the cursor. Each value's text is the program's own.
#pragma once

namespace rc {

enum class CaptureMode { None, Draw, Adjust, Drag };

enum class HitZone {
  None,
  Inside,
  Outside,
  TopLeft,
  Top,
  TopRight,
  Left,
  Right,
  BottomLeft,
  Bottom,
  BottomRight,
  Toolbar,
  Menu,
};

// The event texts passed to the toolbar and the menu.
enum class UiEvent { Repaint, Hover, Press };

// RedrawFrame's option: clear the toolbar and menu rectangles, or keep them.
enum class RedrawOption { Clear, KeepRects };

const char* Text(CaptureMode mode);
const char* Text(HitZone zone);
const char* Text(UiEvent event);
const char* Text(RedrawOption option);

// The eight edges and corners a resize drag can grab.
bool IsAdjustZone(HitZone zone);

}  // namespace rc
