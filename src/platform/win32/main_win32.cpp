// The Windows entry point: one run of the process is one capture.
#include <windows.h>
#include <objbase.h>

#include <cstdio>

#include "app/launch.h"
#include "platform/win32/win32_command_line.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_host.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  rc::ConnectStandardStreams();
  const rc::ParsedCommandLine parsed = rc::ParseCommandLine(rc::CommandLineArgumentsUtf8());
  if (const auto answered = rc::AnswerWithoutHost(parsed)) return *answered;
  if (parsed.options.daemon || parsed.options.quit) {
    // Resident mode (--daemon, --quit) starts here once it exists.
    std::fputs("regioncap: --daemon and --quit are not available in this build\n", stderr);
    return rc::kExitFailure;
  }
  // Before any window exists, so the snapshot has the screen's real pixels.
  rc::MakeProcessDpiAware();
  // The save dialog and the image codecs want a single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  rc::Win32Host host;  // lives until the process ends: EndProgram never returns
  rc::SetHost(&host);
  const int code = rc::RunFromCommandLine(parsed.options);
  // An interactive capture ends through EndProgram; its loop only returns
  // when the window went away some other way (the system closed it).
  // --region returns with its own code.
  host.EndProgram(parsed.options.region ? code : host.QuitCode());
}
