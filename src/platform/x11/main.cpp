// regioncap on Linux: one capture on the Wayland compositor or X display
// this session runs, or the resident mode that starts one at each press of
// a shortcut.
#include <clocale>
#include <cstdio>
#include <cstring>

#include "app/resident.h"
#include "app/run.h"
#include "platform/linux/desktop_host.h"
#include "platform/linux/desktop_resident.h"
#include "platform/x11/x11_clipboard_owner.h"

namespace {

int RunResident() {
  rc::Hotkey hotkey;
  std::string error;
  if (!rc::ResidentHotkey("", hotkey, error)) {
    std::fprintf(stderr, "regioncap: %s\n", error.c_str());
    return 1;
  }
  return rc::RunDesktopResident(hotkey);
}

}  // namespace

int main(int argc, char** argv) {
  // The same executable, started again at finish, serves the clipboard.
  if (rc::IsClipboardOwnerLaunch()) return rc::RunClipboardOwner();
  // The input method works in the user's character set; numbers and
  // messages keep the C locale.
  std::setlocale(LC_CTYPE, "");
  if (argc > 1 && std::strcmp(argv[1], "--daemon") == 0) return RunResident();
  if (argc > 1 && std::strcmp(argv[1], "--quit") == 0) return rc::QuitDesktopResident();
  std::string error;
  const std::unique_ptr<rc::HostRuntime> host = rc::ConnectDesktopHost(error);
  if (host == nullptr) {
    std::fprintf(stderr, "regioncap: %s\n", error.c_str());
    return 1;
  }
  rc::SetHost(host.get());
  rc::RunCapture();
  // The capture ends through EndProgram; reaching here means the loop gave up.
  host->EndProgram(0);
}
