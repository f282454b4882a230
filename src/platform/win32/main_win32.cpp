// The Windows entry point: one run of the process is one capture.
#include <windows.h>
#include <objbase.h>

#include "app/run.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_host.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Before any window exists, so the snapshot has the screen's real pixels.
  rc::MakeProcessDpiAware();
  // The save dialog and the image codecs want a single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  rc::Win32Host host;  // lives until the process ends: EndProgram never returns
  rc::SetHost(&host);
  rc::RunCapture();
  // The capture ends through EndProgram; the loop only returns when the
  // window went away some other way (the system closed it).
  host.EndProgram(host.QuitCode());
}
