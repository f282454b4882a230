// A global shortcut as the user writes it in the settings file:
// "Ctrl+Alt+A", "Print", "Super+Shift+S". Modifiers come first, joined by
// '+', and exactly one key ends it.
#pragma once

#include <cstdint>
#include <string>

namespace rc {

struct Hotkey {
  uint32_t mods = 0;  // Modifier bits (app/message.h)
  // The key's canonical name: "A".."Z", "0".."9", "F1".."F24", "Print",
  // "Space", "PageUp", … (HotkeyKeyNames lists them).
  std::string key;

  bool operator==(const Hotkey&) const = default;
};

// What reading a shortcut gave: the shortcut, or why the text is not one.
struct HotkeyParse {
  bool ok = false;
  Hotkey hotkey;
  std::string error;
};

// Names and modifiers are matched without regard to case; spaces around
// the parts are ignored.
HotkeyParse ParseHotkey(const std::string& text);

// The shortcut written back in its canonical form ("Ctrl+Alt+A").
std::string HotkeyText(const Hotkey& hotkey);

// The shortcut when the settings name none.
constexpr const char* kDefaultHotkey = "Ctrl+Alt+A";

// Every key name a shortcut may end in, comma-separated, for messages.
std::string HotkeyKeyNames();

}  // namespace rc
