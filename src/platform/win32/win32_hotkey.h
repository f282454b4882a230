// A shortcut from the settings file in the terms RegisterHotKey takes.
#pragma once

#include <windows.h>

#include <optional>

#include "app/hotkey.h"

namespace rc {

struct Win32HotkeyCode {
  UINT modifiers = 0;   // MOD_ bits, MOD_NOREPEAT always among them
  UINT virtualKey = 0;  // VK_ code

  bool operator==(const Win32HotkeyCode&) const = default;
};

// The codes for `hotkey`; nothing for a key name this host has no key for.
std::optional<Win32HotkeyCode> Win32HotkeyFor(const Hotkey& hotkey);

}  // namespace rc
