// The pure part of reading X keys: keysyms to our key codes, event state to
// modifier bits, and which looked-up text counts as typed.
#pragma once

#include <X11/X.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "app/message.h"

namespace rc {

// Our key code for a keysym, Key::Unknown for a key we have no code for.
// Letters map to the same code in either case.
Key KeyFor(KeySym sym);

// Our key code for a key press: the keysym the layout and the held
// modifiers give, or, when that one has no code (Shift+2 gives '@'), the
// key's unshifted keysym, so that shortcuts keep working under Shift.
Key KeyForPress(KeySym typed, KeySym unshifted);

// The modifier bits of an X event's state: Shift, Control, Mod1 (Alt) and
// Mod4 (Super).
uint32_t ModifiersFor(unsigned int state);

// The text a key types: what the lookup produced, without control
// characters (Return, Backspace, Tab and Escape are keys, not text), and
// nothing while Ctrl or Alt is held, as those make shortcuts.
std::string TypedText(std::string_view looked, uint32_t mods);

// The UTF-8 text of a keysym, for when no input method looks text up:
// Latin-1 keysyms, Unicode keysyms and the keypad's digits and signs.
std::string KeysymText(KeySym sym);

// Appends one code point as UTF-8; nothing for surrogates and values past
// U+10FFFF.
void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace rc
