#include "platform/win32/win32_window.h"

#include "platform/win32/win32_monitors.h"

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
  const Box desktop = VirtualScreenBox();
  // Layered from birth: a layered window shows nothing until its first
  // UpdateLayeredWindow, so raising it before the first frame cannot flash
  // an unpainted rectangle over the desktop.
  return CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_LAYERED, kClassName, L"regioncap", WS_POPUP,
                         desktop.x, desktop.y, desktop.width, desktop.height, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

void RaiseTopmost(HWND window) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  SetForegroundWindow(window);
  SetFocus(window);
}

}  // namespace rc
