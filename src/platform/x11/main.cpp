// regioncap on Linux: one capture on the Wayland compositor or X display
// this session runs, or the resident mode that starts one at each press of
// a shortcut.
#include <clocale>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/launch.h"
#include "app/resident.h"
#include "platform/linux/desktop_host.h"
#include "platform/linux/desktop_resident.h"
#include "platform/posix/posix_files.h"
#include "platform/x11/x11_clipboard_owner.h"

namespace {

// The shortcut comes from the settings file, read before any host exists.
int RunResident(const rc::CommandLineOptions& options) {
  const std::string folder = rc::PosixSettingsDirectory();
  const auto settings = folder.empty() ? std::nullopt : rc::PosixReadSmallFile(folder + "/settings.ini", 1 << 20);
  return rc::RunResidentWithSettings(settings,
                                     [&](const rc::Hotkey& hotkey) { return rc::RunDesktopResident(hotkey, options); });
}

}  // namespace

int main(int argc, char** argv) {
  // The same executable, started again at finish, serves the clipboard.
  if (rc::IsClipboardOwnerLaunch()) return rc::RunClipboardOwner();
  // The input method works in the user's character set; numbers and
  // messages keep the C locale.
  std::setlocale(LC_CTYPE, "");
  const rc::ParsedCommandLine parsed = rc::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (const auto answered = rc::AnswerWithoutHost(parsed)) return *answered;
  if (parsed.options.daemon) return RunResident(parsed.options);
  if (parsed.options.quit) return rc::QuitDesktopResident();
  std::string error;
  const std::unique_ptr<rc::HostRuntime> host = rc::ConnectDesktopHost(error);
  if (host == nullptr) {
    std::fprintf(stderr, "regioncap: %s\n", error.c_str());
    return rc::kExitFailure;
  }
  rc::SetHost(host.get());
  // An interactive capture ends through EndProgram; --region returns here.
  host->EndProgram(rc::RunFromCommandLine(parsed.options));
}
