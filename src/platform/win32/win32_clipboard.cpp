#include "platform/win32/win32_clipboard.h"

#include "platform/win32/win32_dib.h"
#include "platform/win32/win32_error.h"

namespace rc {

namespace {

HBITMAP ScreenCompatibleBitmap(const Canvas& picture) {
  const BITMAPINFO info = TopDownDibInfo(picture.Width(), picture.Height());
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &info.bmiHeader, CBM_INIT, picture.Data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

// NOTE: another program may hold the clipboard for a moment (clipboard
// managers read every change), so opening is retried for about a second.
bool OpenClipboardPatiently(HWND owner) {
  for (int attempt = 0; attempt < 20; ++attempt) {
    if (OpenClipboard(owner)) return true;
    Sleep(50);
  }
  return false;
}

}  // namespace

HostResult SetClipboardBitmap(HWND owner, const Canvas& picture) {
  if (picture.Empty()) return HostResult::Fail("Win32: there is no picture to copy");
  HBITMAP bitmap = ScreenCompatibleBitmap(picture);
  if (bitmap == nullptr) return Win32Failure("cannot make a bitmap for the clipboard");
  if (!OpenClipboardPatiently(owner)) {
    HostResult failure = Win32Failure("the clipboard is held by another program");
    DeleteObject(bitmap);
    return failure;
  }
  HostResult result = HostResult::Ok();
  if (!EmptyClipboard() || SetClipboardData(CF_BITMAP, bitmap) == nullptr) {
    result = Win32Failure("cannot put the picture on the clipboard");
    DeleteObject(bitmap);  // only a bitmap the clipboard took belongs to it
  }
  CloseClipboard();
  return result;
}

}  // namespace rc
