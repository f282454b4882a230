#include "platform/win32/win32_clipboard.h"

#include "platform/win32/win32_dib.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_text_encoding.h"

#include <cstring>

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

// NOTE: a clipboard opened without an owner window cannot take data (the
// empty call leaves it ownerless), so a run without the overlay (--region)
// lends it a hidden message-only window for the moment.
class ClipboardOwner {
 public:
  explicit ClipboardOwner(HWND owner) : window_(owner) {
    if (window_ == nullptr) {
      window_ = lent_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    }
  }
  ~ClipboardOwner() {
    if (lent_ != nullptr) DestroyWindow(lent_);
  }
  ClipboardOwner(const ClipboardOwner&) = delete;
  ClipboardOwner& operator=(const ClipboardOwner&) = delete;
  HWND Window() const { return window_; }

 private:
  HWND window_ = nullptr;
  HWND lent_ = nullptr;
};

// Gives the clipboard `data` in `format`; the handle belongs to the
// clipboard once it took it, else it is the caller's to free.
HostResult PutOnClipboard(HWND owner, UINT format, HANDLE data, const char* what) {
  const ClipboardOwner window(owner);
  if (!OpenClipboardPatiently(window.Window())) return Win32Failure("the clipboard is held by another program");
  HostResult result = HostResult::Ok();
  if (!EmptyClipboard() || SetClipboardData(format, data) == nullptr) {
    result = Win32Failure(std::string("cannot put the ") + what + " on the clipboard");
  }
  CloseClipboard();
  return result;
}

HGLOBAL UnicodeTextMemory(const std::wstring& text) {
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (memory == nullptr) return nullptr;
  void* p = GlobalLock(memory);
  if (p != nullptr) std::memcpy(p, text.c_str(), bytes);
  GlobalUnlock(memory);
  return memory;
}

}  // namespace

HostResult SetClipboardUnicodeText(HWND owner, const std::string& utf8) {
  HGLOBAL memory = UnicodeTextMemory(Utf8ToWide(utf8));
  if (memory == nullptr) return Win32Failure("no memory for the clipboard text");
  const HostResult result = PutOnClipboard(owner, CF_UNICODETEXT, memory, "text");
  if (!result) GlobalFree(memory);
  return result;
}

HostResult SetClipboardBitmap(HWND owner, const Canvas& picture) {
  if (picture.Empty()) return HostResult::Fail("Win32: there is no picture to copy");
  HBITMAP bitmap = ScreenCompatibleBitmap(picture);
  if (bitmap == nullptr) return Win32Failure("cannot make a bitmap for the clipboard");
  const HostResult result = PutOnClipboard(owner, CF_BITMAP, bitmap, "picture");
  if (!result) DeleteObject(bitmap);  // only a bitmap the clipboard took belongs to it
  return result;
}

}  // namespace rc
