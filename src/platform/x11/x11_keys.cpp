#include "platform/x11/x11_keys.h"

#include <X11/keysym.h>

namespace rc {

namespace {

// Keys with a code of their own that are neither letters, digits nor F-keys.
Key NamedKeyFor(KeySym sym) {
  switch (sym) {
    case XK_Escape: return Key::Escape;
    case XK_Return: case XK_KP_Enter: return Key::Return;
    case XK_BackSpace: return Key::Backspace;
    case XK_Tab: case XK_ISO_Left_Tab: case XK_KP_Tab: return Key::Tab;
    case XK_space: case XK_KP_Space: return Key::Space;
    case XK_Left: case XK_KP_Left: return Key::Left;
    case XK_Up: case XK_KP_Up: return Key::Up;
    case XK_Right: case XK_KP_Right: return Key::Right;
    case XK_Down: case XK_KP_Down: return Key::Down;
    case XK_Home: case XK_KP_Home: return Key::Home;
    case XK_End: case XK_KP_End: return Key::End;
    case XK_Page_Up: case XK_KP_Page_Up: return Key::PageUp;
    case XK_Page_Down: case XK_KP_Page_Down: return Key::PageDown;
    case XK_Insert: case XK_KP_Insert: return Key::Insert;
    case XK_Delete: case XK_KP_Delete: return Key::Delete;
    default: return Key::Unknown;
  }
}

bool IsControl(unsigned char c) { return c < 0x20 || c == 0x7F; }

}  // namespace

Key KeyFor(KeySym sym) {
  if (sym >= XK_a && sym <= XK_z) return KeyLetter(static_cast<char>(sym - XK_a + 'A'));
  if (sym >= XK_A && sym <= XK_Z) return KeyLetter(static_cast<char>(sym));
  if (sym >= XK_0 && sym <= XK_9) return KeyDigit(static_cast<int>(sym - XK_0));
  if (sym >= XK_KP_0 && sym <= XK_KP_9) return KeyDigit(static_cast<int>(sym - XK_KP_0));
  if (sym >= XK_F1 && sym <= XK_F12) return KeyF(static_cast<int>(sym - XK_F1 + 1));
  return NamedKeyFor(sym);
}

Key KeyForPress(KeySym typed, KeySym unshifted) {
  const Key key = KeyFor(typed);
  return key != Key::Unknown ? key : KeyFor(unshifted);
}

uint32_t ModifiersFor(unsigned int state) {
  uint32_t mods = 0;
  if (state & ShiftMask) mods |= kModShift;
  if (state & ControlMask) mods |= kModCtrl;
  if (state & Mod1Mask) mods |= kModAlt;
  if (state & Mod4Mask) mods |= kModSuper;
  return mods;
}

std::string TypedText(std::string_view looked, uint32_t mods) {
  if (mods & (kModCtrl | kModAlt)) return {};
  std::string text;
  for (char c : looked)
    if (!IsControl(static_cast<unsigned char>(c))) text += c;
  return text;
}

std::string KeysymText(KeySym sym) {
  std::string text;
  if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF)) {
    AppendUtf8(text, static_cast<char32_t>(sym));
  } else if ((sym & 0xFF000000u) == 0x01000000u) {
    AppendUtf8(text, static_cast<char32_t>(sym & 0x00FFFFFFu));
  } else if (sym >= XK_KP_Multiply && sym <= XK_KP_9) {
    AppendUtf8(text, static_cast<char32_t>(sym - XK_KP_Multiply + '*'));
  } else if (sym == XK_KP_Space) {
    text.push_back(' ');
  }
  return text;
}

void AppendUtf8(std::string& out, char32_t c) {
  char bytes[4];
  size_t n = 0;
  if (c < 0x80) {
    bytes[n++] = static_cast<char>(c);
  } else if (c < 0x800) {
    bytes[n++] = static_cast<char>(0xC0 | (c >> 6));
  } else if (c < 0x10000) {
    if (c >= 0xD800 && c <= 0xDFFF) return;
    bytes[n++] = static_cast<char>(0xE0 | (c >> 12));
  } else if (c <= 0x10FFFF) {
    bytes[n++] = static_cast<char>(0xF0 | (c >> 18));
  } else {
    return;
  }
  // The continuation bytes, six bits each, highest first.
  const size_t total = c < 0x80 ? 1 : c < 0x800 ? 2 : c < 0x10000 ? 3 : 4;
  for (size_t shift = 6 * (total - 1); n < total; shift -= 6) bytes[n++] = static_cast<char>(0x80 | ((c >> (shift - 6)) & 0x3F));
  out.append(bytes, n);
}

}  // namespace rc
