#include "platform/win32/win32_message.h"

#include <windows.h>

namespace rc {

namespace {

Message Of(MessageKind kind, Key key = Key::Unknown) {
  Message m;
  m.kind = kind;
  m.key = key;
  return m;
}

}  // namespace

Message TranslateNativeMessage(uint32_t message, uintptr_t wParam) {
  switch (message) {
    case WM_KEYDOWN:
      // Our key codes keep the virtual-key values of the keys they share.
      return Of(MessageKind::KeyDown, static_cast<Key>(wParam));
    case WM_MOUSEMOVE:
      return Of(MessageKind::MouseMove);
    case WM_LBUTTONDOWN:
      return Of(MessageKind::LeftDown);
    case WM_LBUTTONUP:
      return Of(MessageKind::LeftUp);
    case WM_LBUTTONDBLCLK:
      return Of(MessageKind::LeftDoubleClick);
    case WM_RBUTTONUP:
      return Of(MessageKind::RightUp);
    default:
      return Of(MessageKind::Other);
  }
}

}  // namespace rc
