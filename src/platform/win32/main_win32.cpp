// The Windows entry point: one run of the process is one capture, or the
// resident mode that runs a capture at each press of a shortcut.
#include <windows.h>
#include <objbase.h>

#include <cstdio>
#include <string>

#include "app/launch.h"
#include "app/resident.h"
#include "platform/win32/win32_command_line.h"
#include "platform/win32/win32_dpi.h"
#include "platform/win32/win32_files.h"
#include "platform/win32/win32_host.h"
#include "platform/win32/win32_resident.h"

namespace {

// The shortcut comes from the settings file, read before any host exists.
int RunResident(const rc::CommandLineOptions& options) {
  const std::string folder = rc::SettingsDirectoryWin32();
  const auto settings = folder.empty() ? std::nullopt : rc::ReadSmallFileWin32(folder + "\\settings.ini", 1 << 20);
  return rc::RunResidentWithSettings(settings,
                                     [&](const rc::Hotkey& hotkey) { return rc::RunResidentWin32(hotkey, options); });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  rc::ConnectStandardStreams();
  const rc::ParsedCommandLine parsed = rc::ParseCommandLine(rc::CommandLineArgumentsUtf8());
  if (const auto answered = rc::AnswerWithoutHost(parsed)) return *answered;
  if (parsed.options.quit) return rc::QuitResidentWin32();
  // Before any window exists, so the snapshot has the screen's real pixels.
  rc::MakeProcessDpiAware();
  // The save dialog and the image codecs want a single-threaded apartment.
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  if (parsed.options.daemon) return RunResident(parsed.options);
  rc::Win32Host host;  // lives until the process ends: EndProgram never returns
  rc::SetHost(&host);
  const int code = rc::RunFromCommandLine(parsed.options);
  // An interactive capture ends through EndProgram; its loop only returns
  // when the window went away some other way (the system closed it).
  // --region returns with its own code.
  host.EndProgram(parsed.options.region ? code : host.QuitCode());
}
