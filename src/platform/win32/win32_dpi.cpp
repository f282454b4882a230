#include "platform/win32/win32_dpi.h"

#include <windows.h>

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

}  // namespace rc
