#include "app/hotkey.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <optional>
#include <vector>

#include "app/ascii_case.h"
#include "app/message.h"

namespace rc {

namespace {

struct Alias {
  const char* name;
  const char* canonical;
};

// Other spellings users carry over from their desktops' settings.
constexpr Alias kKeyAliases[] = {
    {"print", "Print"},     {"printscreen", "Print"},  {"prtsc", "Print"},   {"prtscr", "Print"},
    {"pause", "Pause"},     {"scrolllock", "ScrollLock"}, {"insert", "Insert"}, {"ins", "Insert"},
    {"delete", "Delete"},   {"del", "Delete"},         {"home", "Home"},     {"end", "End"},
    {"pageup", "PageUp"},   {"pgup", "PageUp"},        {"prior", "PageUp"},  {"pagedown", "PageDown"},
    {"pgdn", "PageDown"},   {"next", "PageDown"},      {"left", "Left"},     {"right", "Right"},
    {"up", "Up"},           {"down", "Down"},          {"space", "Space"},   {"tab", "Tab"},
    {"return", "Return"},   {"enter", "Return"},       {"escape", "Escape"}, {"esc", "Escape"},
    {"backspace", "Backspace"}, {"menu", "Menu"},
};

struct ModifierName {
  const char* name;
  uint32_t bit;
};

// KDE calls the logo key Meta, GNOME calls it Super.
constexpr ModifierName kModifierNames[] = {
    {"ctrl", kModCtrl},   {"control", kModCtrl}, {"alt", kModAlt},   {"shift", kModShift},
    {"super", kModSuper}, {"win", kModSuper},    {"meta", kModSuper}, {"logo", kModSuper},
};

// The order a shortcut is written back in.
constexpr std::array<ModifierName, 4> kModifierOrder = {{
    {"Ctrl", kModCtrl}, {"Alt", kModAlt}, {"Shift", kModShift}, {"Super", kModSuper}}};

constexpr int kLastFunctionKey = 24;

std::string Trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::vector<std::string> SplitOnPlus(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t plus = text.find('+'); plus != std::string::npos; plus = text.find('+', start)) {
    parts.push_back(Trimmed(text.substr(start, plus - start)));
    start = plus + 1;
  }
  parts.push_back(Trimmed(text.substr(start)));
  return parts;
}

std::optional<uint32_t> ModifierBit(const std::string& part) {
  const std::string lower = AsciiLower(part);
  for (const ModifierName& m : kModifierNames)
    if (lower == m.name) return m.bit;
  return std::nullopt;
}

std::optional<std::string> FunctionKey(const std::string& lower) {
  if (lower.size() < 2 || lower.size() > 3 || lower[0] != 'f') return std::nullopt;
  if (!std::all_of(lower.begin() + 1, lower.end(), [](unsigned char c) { return std::isdigit(c); })) return std::nullopt;
  const int n = std::stoi(lower.substr(1));
  if (n < 1 || n > kLastFunctionKey || lower[1] == '0') return std::nullopt;
  std::string name(1, 'F');
  name += std::to_string(n);
  return name;
}

std::optional<std::string> CanonicalKey(const std::string& part) {
  if (part.size() == 1 && std::isalnum(static_cast<unsigned char>(part[0])))
    return std::string(1, static_cast<char>(std::toupper(static_cast<unsigned char>(part[0]))));
  const std::string lower = AsciiLower(part);
  if (auto f = FunctionKey(lower)) return f;
  for (const Alias& a : kKeyAliases)
    if (lower == a.name) return std::string(a.canonical);
  return std::nullopt;
}

HotkeyParse Failure(const std::string& text, const std::string& why) {
  return {false, {}, "\"" + text + "\" is not a shortcut: " + why};
}

// Every part but the last must be a modifier, each at most once.
std::optional<std::string> AddModifiers(const std::vector<std::string>& parts, uint32_t& mods) {
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    if (parts[i].empty()) return "a part between two '+' is empty";
    const std::optional<uint32_t> bit = ModifierBit(parts[i]);
    if (!bit) return "\"" + parts[i] + "\" is not a modifier (Ctrl, Alt, Shift, Super)";
    if (mods & *bit) return "\"" + parts[i] + "\" is given twice";
    mods |= *bit;
  }
  return std::nullopt;
}

}  // namespace

HotkeyParse ParseHotkey(const std::string& text) {
  if (Trimmed(text).empty()) return Failure(text, "it is empty");
  const std::vector<std::string> parts = SplitOnPlus(text);
  HotkeyParse result;
  if (const auto why = AddModifiers(parts, result.hotkey.mods)) return Failure(text, *why);
  const std::string& last = parts.back();
  if (last.empty()) return Failure(text, "it ends without a key");
  if (ModifierBit(last)) return Failure(text, "it has modifiers but no key");
  const std::optional<std::string> key = CanonicalKey(last);
  if (!key) return Failure(text, "\"" + last + "\" is not a key name (known: " + HotkeyKeyNames() + ")");
  result.hotkey.key = *key;
  result.ok = true;
  return result;
}

std::string HotkeyText(const Hotkey& hotkey) {
  std::string text;
  for (const ModifierName& m : kModifierOrder)
    if (hotkey.mods & m.bit) text += std::string(m.name) + "+";
  return text + hotkey.key;
}

std::string HotkeyKeyNames() {
  std::string names = "A-Z, 0-9, F1-F" + std::to_string(kLastFunctionKey);
  std::string previous;
  for (const Alias& a : kKeyAliases) {
    if (a.canonical == previous) continue;
    previous = a.canonical;
    names += std::string(", ") + a.canonical;
  }
  return names;
}

}  // namespace rc
