#include "platform/wayland/wayland_keys.h"

#include <xkbcommon/xkbcommon-keysyms.h>

namespace rc {

namespace {

Key NamedKey(uint32_t sym) {
  switch (sym) {
    case XKB_KEY_Escape: return Key::Escape;
    case XKB_KEY_Return: case XKB_KEY_KP_Enter: return Key::Return;
    case XKB_KEY_BackSpace: return Key::Backspace;
    case XKB_KEY_Tab: case XKB_KEY_ISO_Left_Tab: return Key::Tab;
    case XKB_KEY_space: case XKB_KEY_KP_Space: return Key::Space;
    case XKB_KEY_Left: case XKB_KEY_KP_Left: return Key::Left;
    case XKB_KEY_Up: case XKB_KEY_KP_Up: return Key::Up;
    case XKB_KEY_Right: case XKB_KEY_KP_Right: return Key::Right;
    case XKB_KEY_Down: case XKB_KEY_KP_Down: return Key::Down;
    case XKB_KEY_Home: case XKB_KEY_KP_Home: return Key::Home;
    case XKB_KEY_End: case XKB_KEY_KP_End: return Key::End;
    case XKB_KEY_Page_Up: case XKB_KEY_KP_Page_Up: return Key::PageUp;
    case XKB_KEY_Page_Down: case XKB_KEY_KP_Page_Down: return Key::PageDown;
    case XKB_KEY_Insert: case XKB_KEY_KP_Insert: return Key::Insert;
    case XKB_KEY_Delete: case XKB_KEY_KP_Delete: return Key::Delete;
    default: return Key::Unknown;
  }
}

}  // namespace

Key KeyForKeysym(uint32_t sym) {
  if (sym >= XKB_KEY_a && sym <= XKB_KEY_z) return static_cast<Key>(sym - XKB_KEY_a + 'A');
  if ((sym >= XKB_KEY_A && sym <= XKB_KEY_Z) || (sym >= XKB_KEY_0 && sym <= XKB_KEY_9)) return static_cast<Key>(sym);
  if (sym >= XKB_KEY_KP_0 && sym <= XKB_KEY_KP_9) return KeyDigit(static_cast<int>(sym - XKB_KEY_KP_0));
  if (sym >= XKB_KEY_F1 && sym <= XKB_KEY_F12) return KeyF(static_cast<int>(sym - XKB_KEY_F1) + 1);
  return NamedKey(sym);
}

bool IsTypedText(const char* utf8) {
  const auto first = static_cast<unsigned char>(utf8[0]);
  return first >= 0x20 && first != 0x7F;
}

}  // namespace rc
