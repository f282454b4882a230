#include "platform/win32/win32_message.h"

#include <windows.h>

namespace rc {

Message TranslateNativeMessage(uint32_t message, uintptr_t wParam) {
  switch (message) {
    case WM_KEYDOWN:
      return {MessageKind::KeyDown, static_cast<uint32_t>(wParam)};
    case WM_MOUSEMOVE:
      return {MessageKind::MouseMove, 0};
    case WM_LBUTTONDOWN:
      return {MessageKind::LeftDown, 0};
    case WM_LBUTTONUP:
      return {MessageKind::LeftUp, 0};
    case WM_LBUTTONDBLCLK:
      return {MessageKind::LeftDoubleClick, 0};
    case WM_RBUTTONUP:
      return {MessageKind::RightUp, 0};
    default:
      return {MessageKind::Other, 0};
  }
}

}  // namespace rc
