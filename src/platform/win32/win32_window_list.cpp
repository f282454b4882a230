#include "platform/win32/win32_window_list.h"

namespace rc {

namespace {

// dwmapi is loaded when first needed: it is missing on some systems (and
// under some Wine prefixes), where the window rectangle serves.
using DwmGetWindowAttributeFn = HRESULT(WINAPI*)(HWND, DWORD, PVOID, DWORD);
constexpr DWORD kDwmExtendedFrameBounds = 9;  // DWMWA_EXTENDED_FRAME_BOUNDS
constexpr DWORD kDwmCloaked = 14;             // DWMWA_CLOAKED

DwmGetWindowAttributeFn DwmAttributeFunction() {
  static const DwmGetWindowAttributeFn fn = [] {
    HMODULE dwm = LoadLibraryW(L"dwmapi.dll");
    if (dwm == nullptr) return DwmGetWindowAttributeFn{};
    return reinterpret_cast<DwmGetWindowAttributeFn>(
        reinterpret_cast<void*>(GetProcAddress(dwm, "DwmGetWindowAttribute")));
  }();
  return fn;
}

bool Cloaked(HWND w) {
  const DwmGetWindowAttributeFn dwm = DwmAttributeFunction();
  DWORD cloaked = 0;
  return dwm != nullptr && SUCCEEDED(dwm(w, kDwmCloaked, &cloaked, sizeof cloaked)) && cloaked != 0;
}

RECT VisibleFrame(HWND w) {
  RECT r{};
  const DwmGetWindowAttributeFn dwm = DwmAttributeFunction();
  if (dwm != nullptr && SUCCEEDED(dwm(w, kDwmExtendedFrameBounds, &r, sizeof r)) && r.right > r.left) return r;
  GetWindowRect(w, &r);
  return r;
}

bool Listed(HWND w, HWND skip) {
  if (w == skip || !IsWindowVisible(w) || IsIconic(w)) return false;
  const LONG_PTR exStyle = GetWindowLongPtrW(w, GWL_EXSTYLE);
  return (exStyle & WS_EX_TOOLWINDOW) == 0 && !Cloaked(w);
}

struct Listing {
  HWND skip;
  std::vector<Box> frames;
};

// EnumWindows goes from the top of the z-order down.
BOOL CALLBACK AddWindow(HWND w, LPARAM param) {
  auto* listing = reinterpret_cast<Listing*>(param);
  if (!Listed(w, listing->skip)) return TRUE;
  const RECT r = VisibleFrame(w);
  if (r.right > r.left && r.bottom > r.top) listing->frames.push_back({r.left, r.top, r.right - r.left, r.bottom - r.top});
  return TRUE;
}

}  // namespace

std::vector<Box> ListWin32WindowFrames(HWND skip) {
  Listing listing{skip, {}};
  EnumWindows(AddWindow, reinterpret_cast<LPARAM>(&listing));
  return listing.frames;
}

}  // namespace rc
