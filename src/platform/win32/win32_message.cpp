#include "platform/win32/win32_message.h"

#include <windows.h>

#include <utility>

#include "platform/win32/win32_text_encoding.h"

namespace rc {

namespace {

bool IsHighSurrogate(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
bool IsControl(char16_t u) { return u < 0x20 || u == 0x7F; }

// Mouse messages carry client coordinates as two signed 16-bit values.
Point ClientPoint(intptr_t lParam) {
  return {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
}

MessageKind ButtonKind(uint32_t message) {
  switch (message) {
    case WM_MOUSEMOVE: return MessageKind::MouseMove;
    case WM_LBUTTONDOWN: return MessageKind::LeftDown;
    case WM_LBUTTONUP: return MessageKind::LeftUp;
    case WM_LBUTTONDBLCLK: return MessageKind::LeftDoubleClick;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: return MessageKind::RightDown;
    case WM_RBUTTONUP: return MessageKind::RightUp;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: return MessageKind::MiddleDown;
    case WM_MBUTTONUP: return MessageKind::MiddleUp;
    default: return MessageKind::Other;
  }
}

}  // namespace

Key KeyForVirtualKey(uintptr_t vk) {
  // Our codes keep the virtual-key values of the keys they share.
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return static_cast<Key>(vk);
  if (vk >= VK_F1 && vk <= VK_F12) return static_cast<Key>(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return KeyDigit(static_cast<int>(vk - VK_NUMPAD0));
  switch (vk) {
    case VK_BACK: case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_SPACE:
    case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME:
    case VK_LEFT: case VK_UP: case VK_RIGHT: case VK_DOWN:
    case VK_INSERT: case VK_DELETE:
      return static_cast<Key>(vk);
    default: return Key::Unknown;
  }
}

std::string TypedTextFromUtf16(std::u16string_view units) {
  std::wstring printable;
  for (char16_t u : units)
    if (!IsControl(u)) printable += static_cast<wchar_t>(u);
  return WideToUtf8(printable);
}

Message Win32InputTranslator::Translate(uint32_t message, uintptr_t wParam, intptr_t lParam,
                                        const NativeInputFacts& facts) {
  Message m;
  m.pos = facts.messagePos;
  m.mods = facts.mods;
  m.time = facts.time;
  switch (message) {
    case WM_KEYDOWN: case WM_SYSKEYDOWN: return FromKey(MessageKind::KeyDown, wParam, m);
    case WM_KEYUP: case WM_SYSKEYUP: return FromKey(MessageKind::KeyUp, wParam, m);
    case WM_CHAR: return FromChar(static_cast<char16_t>(wParam), m);
    case WM_MOUSEWHEEL:  // at desktop coordinates already
      m.pos = ClientPoint(lParam);
      return FromWheel(GET_WHEEL_DELTA_WPARAM(wParam), m);
    case WM_IME_COMPOSITION:
      m.kind = facts.imeResult.empty() ? MessageKind::Other : MessageKind::Text;
      m.text = TypedTextFromUtf16(facts.imeResult);
      return m;
    default: break;
  }
  m.kind = ButtonKind(message);
  const Point client = ClientPoint(lParam);
  if (m.kind != MessageKind::Other) m.pos = {facts.clientOrigin.x + client.x, facts.clientOrigin.y + client.y};
  return m;
}

Message Win32InputTranslator::FromKey(MessageKind kind, uintptr_t virtualKey, Message m) {
  m.key = KeyForVirtualKey(virtualKey);
  m.kind = m.key == Key::Unknown ? MessageKind::Other : kind;
  return m;
}

// The two halves of a character beyond U+FFFF come as two messages; a
// half without its other half is dropped.
Message Win32InputTranslator::FromChar(char16_t unit, Message m) {
  const char16_t high = std::exchange(highSurrogate_, 0);
  m.kind = MessageKind::Other;
  if (IsHighSurrogate(unit)) {
    highSurrogate_ = unit;
    return m;
  }
  if (IsLowSurrogate(unit) && high == 0) return m;
  std::u16string units;
  if (IsLowSurrogate(unit)) units += high;
  units += unit;
  m.text = TypedTextFromUtf16(units);
  if (!m.text.empty()) m.kind = MessageKind::Text;
  return m;
}

Message Win32InputTranslator::FromWheel(int32_t delta, Message m) {
  wheelRemainder_ += delta;
  m.wheel = wheelRemainder_ / WHEEL_DELTA;
  wheelRemainder_ -= m.wheel * WHEEL_DELTA;
  m.kind = m.wheel != 0 ? MessageKind::Wheel : MessageKind::Other;
  return m;
}

}  // namespace rc
