// Feeds key presses made up here to the X11 host's key reading on a live
// server and prints, one line per press, the messages it became:
// "KeyDown 32 1 [@] | Text 0 1 [@]" (kind, our key code in hex, modifier
// bits, text). With --no-im no input context is made: the plain lookup.
//
//   x11_keys_probe [--no-im] KEYCODE:STATE ...
#include <X11/Xlib.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/x11/x11_input.h"

namespace {

const char* KindName(rc::MessageKind kind) {
  switch (kind) {
    case rc::MessageKind::KeyDown: return "KeyDown";
    case rc::MessageKind::Text: return "Text";
    case rc::MessageKind::Other: return "Other";
    default: return "?";
  }
}

XEvent Press(Display* dpy, Window window, const char* keyText) {
  XEvent event{};
  event.xkey.type = KeyPress;
  event.xkey.display = dpy;
  event.xkey.window = window;
  event.xkey.root = DefaultRootWindow(dpy);
  event.xkey.same_screen = True;
  event.xkey.time = 1000;
  event.xkey.x_root = 7;
  event.xkey.y_root = 9;
  char* rest = nullptr;
  event.xkey.keycode = static_cast<unsigned int>(std::strtoul(keyText, &rest, 10));
  event.xkey.state = *rest == ':' ? static_cast<unsigned int>(std::strtoul(rest + 1, nullptr, 10)) : 0;
  return event;
}

}  // namespace

int main(int argc, char** argv) {
  std::setlocale(LC_CTYPE, "");
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr) return 1;
  const bool useIm = !(argc > 1 && std::strcmp(argv[1], "--no-im") == 0);
  const Window window = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), 0, 0, 10, 10, 0, 0, 0);
  rc::X11InputTranslator input(dpy);
  if (useIm) input.AttachWindow(window);
  for (int i = useIm ? 1 : 2; i < argc; ++i) {
    XEvent event = Press(dpy, window, argv[i]);
    std::string line = input.Filter(event) ? "Filtered" : "";
    if (line.empty()) {
      for (const rc::Message& m : input.Translate(event)) {
        char part[160];
        std::snprintf(part, sizeof part, "%s%s %x %u [%s] @%d,%d", line.empty() ? "" : " | ", KindName(m.kind),
                      static_cast<unsigned>(m.key), m.mods, m.text.c_str(), m.pos.x, m.pos.y);
        line += part;
      }
    }
    std::printf("%s\n", line.c_str());
  }
  XCloseDisplay(dpy);
  return 0;
}
