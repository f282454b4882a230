// What a host tells the program about one piece of input. Hosts push every
// fact they know with the message, so the program never asks the OS where the
// pointer is while it handles input.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/geometry.h"

namespace rc {

enum class MessageKind {
  KeyDown,          // key, mods, text (what the key would type, informative only)
  KeyUp,            // key, mods
  Text,             // text to insert: typed characters or an input method's result
  MouseMove,        // pos, mods
  LeftDown,
  LeftUp,
  LeftDoubleClick,  // the second press of a double-click, in place of LeftDown
  RightDown,
  RightUp,
  MiddleDown,
  MiddleUp,
  Wheel,            // wheel steps, positive away from the user
  Other,
};

// Modifier bits, as held when the message happened.
enum Modifier : uint32_t {
  kModShift = 1u << 0,
  kModCtrl = 1u << 1,
  kModAlt = 1u << 2,
  kModSuper = 1u << 3,
};

// Our own key codes, the same on every platform. Letters and digits keep
// their upper-case ASCII values so that Key('A' + i) names the i-th letter.
enum class Key : uint32_t {
  Unknown = 0,  // not "None": X11 defines that as a macro
  Backspace = 0x08,
  Tab = 0x09,
  Return = 0x0D,  // both Return and the keypad's Enter
  Escape = 0x1B,
  Space = 0x20,
  PageUp = 0x21,
  PageDown = 0x22,
  End = 0x23,
  Home = 0x24,
  Left = 0x25,
  Up = 0x26,
  Right = 0x27,
  Down = 0x28,
  Insert = 0x2D,
  Delete = 0x2E,
  Digit0 = '0',  // ... Digit9 = '9'
  A = 'A',       // ... Z = 'Z'
  C = 'C',
  S = 'S',
  Y = 'Y',
  Z = 'Z',
  F1 = 0x70,     // ... F12 = 0x7B
  F12 = 0x7B,
};

constexpr Key KeyLetter(char upper) { return static_cast<Key>(upper); }
constexpr Key KeyDigit(int digit) { return static_cast<Key>('0' + digit); }
constexpr Key KeyF(int n) { return static_cast<Key>(0x70 + n - 1); }

struct Message {
  MessageKind kind = MessageKind::Other;
  // Where the pointer was, in desktop coordinates (the origin of the desktop
  // may be negative). Valid for every kind except Other.
  Point pos{0, 0};
  uint32_t mods = 0;
  Key key = Key::Unknown;
  std::string text;     // UTF-8
  int32_t wheel = 0;    // steps
  uint32_t time = 0;    // milliseconds, the host's clock

  bool Has(Modifier m) const { return (mods & m) != 0; }
  bool IsPointer() const { return kind != MessageKind::Other; }
};

}  // namespace rc
