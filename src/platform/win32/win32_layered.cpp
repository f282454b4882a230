#include "platform/win32/win32_layered.h"

#include "platform/win32/win32_error.h"

namespace rc {

LONG_PTR MakeLayered(HWND window) {
  const LONG_PTR saved = GetWindowLongPtrW(window, GWL_EXSTYLE);
  SetWindowLongPtrW(window, GWL_EXSTYLE, saved | WS_EX_LAYERED);
  return saved;
}

void RestoreStyle(HWND window, LONG_PTR savedStyle) {
  // Switching the window to attribute mode first lets the style change
  // take effect without the system keeping the last layered picture.
  SetWindowLongPtrW(window, GWL_EXSTYLE, GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_LAYERED);
  SetLayeredWindowAttributes(window, 0, 0, 0);
  SetWindowLongPtrW(window, GWL_EXSTYLE, savedStyle);
}

HostResult PresentLayered(HWND window, HDC source, const Box& windowBox, const Box& damaged) {
  POINT position{windowBox.x, windowBox.y};
  SIZE size{windowBox.width, windowBox.height};
  POINT origin{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  RECT dirty{damaged.x, damaged.y, damaged.x + damaged.width, damaged.y + damaged.height};
  UPDATELAYEREDWINDOWINFO info{};
  info.cbSize = sizeof info;
  info.pptDst = &position;
  info.psize = &size;
  info.hdcSrc = source;
  info.pptSrc = &origin;
  info.pblend = &blend;
  info.dwFlags = ULW_ALPHA;
  info.prcDirty = &dirty;
  if (UpdateLayeredWindowIndirect(window, &info)) return HostResult::Ok();
  // Some systems refuse a dirty rectangle; the whole picture always works.
  if (UpdateLayeredWindow(window, nullptr, &position, &size, source, &origin, 0, &blend, ULW_ALPHA)) {
    return HostResult::Ok();
  }
  return Win32Failure("cannot update the layered window");
}

}  // namespace rc
