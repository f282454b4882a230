#include "platform/win32/win32_dpi.h"

#include <windows.h>

#include "app/ui_scale.h"

namespace rc {

void MakeProcessDpiAware() {
  // Looked up at run time: the call only exists from Windows 10 1703 on.
  using SetContextFn = BOOL(WINAPI*)(HANDLE);
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  FARPROC proc = user32 != nullptr ? GetProcAddress(user32, "SetProcessDpiAwarenessContext") : nullptr;
  if (proc != nullptr) {
    auto setContext = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(proc));
    // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
    if (setContext(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4)))) return;
  }
  SetProcessDPIAware();
}

namespace {

// The effective DPI of `monitor` through shcore, looked up at run time
// because it only exists from Windows 8.1 on; 0 where it does not.
UINT EffectiveDpi(HMONITOR monitor) {
  using GetDpiFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
  static HMODULE shcore = LoadLibraryW(L"shcore.dll");
  FARPROC proc = shcore != nullptr ? GetProcAddress(shcore, "GetDpiForMonitor") : nullptr;
  if (proc == nullptr || monitor == nullptr) return 0;
  UINT x = 0, y = 0;
  constexpr int kEffectiveDpi = 0;  // MDT_EFFECTIVE_DPI
  if (FAILED(reinterpret_cast<GetDpiFn>(reinterpret_cast<void*>(proc))(monitor, kEffectiveDpi, &x, &y))) return 0;
  return x;
}

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

}  // namespace

float MonitorUiScale(HMONITOR monitor) {
  const UINT dpi = EffectiveDpi(monitor);
  return UiScaleFromDpi(dpi != 0 ? dpi : SystemDpi());
}

}  // namespace rc
