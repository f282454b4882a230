#include "platform/win32/win32_window.h"

namespace rc {

namespace {

constexpr wchar_t kClassName[] = L"regioncap.CaptureOverlay";

bool RegisterOverlayClass(WNDPROC procedure) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

HWND CreateOverlayWindow(WNDPROC procedure) {
  if (!RegisterOverlayClass(procedure)) return nullptr;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  // Layered from birth: a layered window shows nothing until its first
  // UpdateLayeredWindow, so raising it before the first frame cannot flash
  // an unpainted rectangle over the desktop.
  return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED, kClassName, L"regioncap", WS_POPUP, 0, 0,
                         width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void RaiseTopmost(HWND window) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(window);
  SetFocus(window);
}

}  // namespace rc
