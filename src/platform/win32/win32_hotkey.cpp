#include "platform/win32/win32_hotkey.h"

#include <cctype>
#include <map>
#include <string>

#include "app/message.h"

namespace rc {

namespace {

constexpr int kFunctionKeys = 24;

// The named keys; letters, digits and F1-F24 follow from their names.
std::optional<UINT> NamedVirtualKey(const std::string& key) {
  static const std::map<std::string, UINT> kKeys = {
      {"Print", VK_SNAPSHOT}, {"Pause", VK_PAUSE},     {"ScrollLock", VK_SCROLL}, {"Insert", VK_INSERT},
      {"Delete", VK_DELETE},  {"Home", VK_HOME},       {"End", VK_END},           {"PageUp", VK_PRIOR},
      {"PageDown", VK_NEXT},  {"Left", VK_LEFT},       {"Right", VK_RIGHT},       {"Up", VK_UP},
      {"Down", VK_DOWN},      {"Space", VK_SPACE},     {"Tab", VK_TAB},           {"Return", VK_RETURN},
      {"Escape", VK_ESCAPE},  {"Backspace", VK_BACK},  {"Menu", VK_APPS}};
  const auto it = kKeys.find(key);
  if (it == kKeys.end()) return std::nullopt;
  return it->second;
}

std::optional<UINT> FunctionVirtualKey(const std::string& key) {
  if (key.size() < 2 || key.size() > 3 || key[0] != 'F') return std::nullopt;
  for (size_t i = 1; i < key.size(); ++i)
    if (!std::isdigit(static_cast<unsigned char>(key[i]))) return std::nullopt;
  const int n = std::stoi(key.substr(1));
  if (n < 1 || n > kFunctionKeys) return std::nullopt;
  return static_cast<UINT>(VK_F1 + n - 1);
}

// A letter's or digit's virtual-key code is its upper-case character.
std::optional<UINT> VirtualKeyFor(const std::string& key) {
  if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0])))
    return static_cast<UINT>(std::toupper(static_cast<unsigned char>(key[0])));
  if (const auto f = FunctionVirtualKey(key)) return f;
  return NamedVirtualKey(key);
}

// Without MOD_NOREPEAT a held shortcut would start capture after capture.
UINT ModifiersFor(uint32_t mods) {
  UINT modifiers = MOD_NOREPEAT;
  if (mods & kModCtrl) modifiers |= MOD_CONTROL;
  if (mods & kModAlt) modifiers |= MOD_ALT;
  if (mods & kModShift) modifiers |= MOD_SHIFT;
  if (mods & kModSuper) modifiers |= MOD_WIN;
  return modifiers;
}

}  // namespace

std::optional<Win32HotkeyCode> Win32HotkeyFor(const Hotkey& hotkey) {
  const std::optional<UINT> key = VirtualKeyFor(hotkey.key);
  if (!key) return std::nullopt;
  return Win32HotkeyCode{ModifiersFor(hotkey.mods), *key};
}

}  // namespace rc
