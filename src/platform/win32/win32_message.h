// One native window message to one program message.
#pragma once

#include <cstdint>
#include <string>

#include "app/message.h"

namespace rc {

// What only the system can tell about a window message; the host reads it
// while dispatching the message.
struct NativeInputFacts {
  Point clientOrigin{0, 0};  // the client area's top-left, in desktop coordinates
  Point messagePos{0, 0};    // the pointer when the message was posted (desktop)
  uint32_t mods = 0;         // Modifier bits held then
  uint32_t time = 0;         // the message's time, milliseconds
  std::u16string imeResult;  // the input method's result string, if the message brought one
};

// Our key code for a virtual-key code, Key::Unknown for keys we have none for.
Key KeyForVirtualKey(uintptr_t virtualKey);

class Win32InputTranslator {
 public:
  // The program's message for a window message; kind Other for messages
  // that make none (among them the first half of a surrogate pair, whose
  // text comes with the second).
  Message Translate(uint32_t message, uintptr_t wParam, intptr_t lParam, const NativeInputFacts& facts);

 private:
  Message FromKey(MessageKind kind, uintptr_t virtualKey, Message m);
  Message FromChar(char16_t unit, Message m);
  Message FromWheel(int32_t delta, Message m);

  char16_t highSurrogate_ = 0;
  // High-resolution wheels send fractions of a step.
  int32_t wheelRemainder_ = 0;
};

// Text as UTF-8 from UTF-16, surrogate pairs joined; control characters
// (Return, Backspace, Tab, Escape) are keys, not text, and are left out.
std::string TypedTextFromUtf16(std::u16string_view units);

}  // namespace rc
