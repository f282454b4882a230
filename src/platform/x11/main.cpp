// regioncap on Linux: one capture on the X display named by DISPLAY.
#include <clocale>
#include <cstdio>

#include "app/run.h"
#include "platform/x11/x11_clipboard_owner.h"
#include "platform/x11/x11_host.h"

int main() {
  // The same executable, started again at finish, serves the clipboard.
  if (rc::IsClipboardOwnerLaunch()) return rc::RunClipboardOwner();
  // The input method works in the user's character set; numbers and
  // messages keep the C locale.
  std::setlocale(LC_CTYPE, "");
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
