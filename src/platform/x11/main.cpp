// regioncap on Linux: one capture on the Wayland compositor or X display
// this session runs.
#include <clocale>
#include <cstdio>

#include "app/run.h"
#include "platform/linux/desktop_host.h"
#include "platform/x11/x11_clipboard_owner.h"

int main() {
  // The same executable, started again at finish, serves the clipboard.
  if (rc::IsClipboardOwnerLaunch()) return rc::RunClipboardOwner();
  // The input method works in the user's character set; numbers and
  // messages keep the C locale.
  std::setlocale(LC_CTYPE, "");
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
