#include "platform/win32/win32_snapshot.h"

#include <windows.h>

#include "platform/win32/win32_dib.h"

namespace rc {

namespace {

// CAPTUREBLT: without it, layered windows (tool tips, other overlays) are
// missing from the copy.
bool CopyScreenInto(const DibSection& dib, const Box& area) {
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, dib.bitmap);
  const bool ok =
      BitBlt(memory, 0, 0, area.width, area.height, screen, area.x, area.y, SRCCOPY | CAPTUREBLT) != FALSE;
  GdiFlush();
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return ok;
}

}  // namespace

Canvas TakeScreenSnapshotWin32(const Box& area) {
  Canvas snapshot;
  DibSection dib = CreateTopDownDib(area.width, area.height);
  if (!dib) return snapshot;
  // The screen's fourth byte means nothing; the picture is opaque.
  if (CopyScreenInto(dib, area) && snapshot.Create(area.width, area.height)) {
    const size_t count = static_cast<size_t>(area.width) * static_cast<size_t>(area.height);
    Pixel* out = snapshot.Data();
    for (size_t i = 0; i < count; ++i) out[i] = dib.bits[i] | 0xFF000000u;
  }
  DeleteObject(dib.bitmap);
  return snapshot;
}

}  // namespace rc
