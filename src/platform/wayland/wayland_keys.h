// xkbcommon key symbols to our own key codes. wtype and input methods make
// keymaps of their own, so keys are always read as symbols, never as codes.
#pragma once

#include <cstdint>

#include "app/message.h"

namespace rc {

// Our key code for keysym `sym`, Key::Unknown for the keys the program
// does not know.
Key KeyForKeysym(uint32_t sym);

// Whether `utf8` is text to insert rather than a control character.
bool IsTypedText(const char* utf8);

}  // namespace rc
