#include "platform/x11/x11_cursors.h"

#include <X11/Xcursor/Xcursor.h>
#include <X11/cursorfont.h>

#include <algorithm>

#include "gfx/cursor_file.h"

namespace rc {

namespace {

struct ThemeShape {
  StandardCursor shape;
  const char* names[2];  // theme names, the freedesktop one first
  unsigned int font;     // core font fallback
};

constexpr ThemeShape kShapes[] = {
    {StandardCursor::Arrow, {"left_ptr", "default"}, XC_left_ptr},
    {StandardCursor::SizeAll, {"fleur", "move"}, XC_fleur},
    {StandardCursor::SizeNS, {"sb_v_double_arrow", "ns-resize"}, XC_sb_v_double_arrow},
    {StandardCursor::SizeWE, {"sb_h_double_arrow", "ew-resize"}, XC_sb_h_double_arrow},
    {StandardCursor::SizeNWSE, {"bottom_right_corner", "size_fdiag"}, XC_bottom_right_corner},
    {StandardCursor::SizeNESW, {"bottom_left_corner", "size_bdiag"}, XC_bottom_left_corner},
    {StandardCursor::Cross, {"crosshair", "cross"}, XC_crosshair},
    {StandardCursor::IBeam, {"xterm", "text"}, XC_xterm},
};

const ThemeShape& ShapeFor(StandardCursor shape) {
  const auto* found = std::find_if(std::begin(kShapes), std::end(kShapes),
                                   [shape](const ThemeShape& s) { return s.shape == shape; });
  return found == std::end(kShapes) ? kShapes[0] : *found;
}

}  // namespace

X11Cursors::~X11Cursors() {
  if (dpy_ == nullptr) return;
  for (const auto& [shape, cursor] : standard_) XFreeCursor(dpy_, cursor);
  for (const auto& [bytes, cursor] : files_) XFreeCursor(dpy_, cursor);
}

Cursor X11Cursors::For(const MousePointer& pointer) {
  if (pointer.IsFile()) {
    const Cursor c = FromFile(pointer.cursorFile);
    if (c != None) return c;
  }
  return Standard(pointer.IsFile() ? StandardCursor::Arrow : pointer.standard);
}

Cursor X11Cursors::Standard(StandardCursor shape) {
  const auto known = standard_.find(shape);
  if (known != standard_.end()) return known->second;
  const ThemeShape& s = ShapeFor(shape);
  Cursor c = None;
  for (const char* name : s.names)
    if (c == None) c = XcursorLibraryLoadCursor(dpy_, name);
  if (c == None) c = XCreateFontCursor(dpy_, s.font);
  standard_[shape] = c;
  return c;
}

Cursor X11Cursors::FromFile(std::span<const uint8_t> bytes) {
  const auto known = files_.find(bytes.data());
  if (known != files_.end()) return known->second;
  const std::optional<CursorImage> picture = ParseCursorFile(bytes);
  Cursor c = None;
  XcursorImage* image = picture ? XcursorImageCreate(picture->width, picture->height) : nullptr;
  if (image != nullptr) {
    image->xhot = static_cast<XcursorDim>(picture->hotSpot.x);
    image->yhot = static_cast<XcursorDim>(picture->hotSpot.y);
    // Both sides hold premultiplied ARGB, rows top to bottom.
    std::copy(picture->pixels.begin(), picture->pixels.end(), image->pixels);
    c = XcursorImageLoadCursor(dpy_, image);
    XcursorImageDestroy(image);
  }
  files_[bytes.data()] = c;
  return c;
}

}  // namespace rc
