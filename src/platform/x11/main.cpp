// regioncap on Linux: one capture on the X display named by DISPLAY.
#include <cstdio>

#include "app/run.h"
#include "platform/x11/x11_clipboard_owner.h"
#include "platform/x11/x11_host.h"

int main() {
  // The same executable, started again at finish, serves the clipboard.
  if (rc::IsClipboardOwnerLaunch()) return rc::RunClipboardOwner();
  rc::X11Host host;
  if (!host.Connected()) {
    std::fprintf(stderr, "regioncap: %s\n", host.ConnectError().c_str());
    return 1;
  }
  rc::SetHost(&host);
  rc::RunCapture();
  // The capture ends through EndProgram; reaching here means the loop gave up.
  host.EndProgram(0);
}
