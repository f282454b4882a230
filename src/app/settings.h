// The user's settings: a small text file of `key = value` lines, grouped
// under optional `[section]` headers, with `#` (or `;`) comments.
//
//   window_snap = false
//   [tools]
//   pen_width = 4
//   [install]
//   hotkey = Ctrl+Alt+A
//
// A key is named "section.key", or just "key" above the first header. A
// missing or damaged file means the defaults, never an error; lines that
// make no sense are kept as they are and otherwise ignored.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/host.h"

namespace rc {

class Settings {
 public:
  static Settings Parse(std::string_view text);
  // The text again, with comments, order and unknown lines kept.
  std::string Format() const;

  std::optional<std::string> Find(std::string_view key) const;
  std::string GetString(std::string_view key, std::string_view fallback = {}) const;
  // Decimal, optionally signed; anything else gives the fallback.
  int64_t GetInt(std::string_view key, int64_t fallback) const;
  // true/false, yes/no, on/off, 1/0 in any case; anything else the fallback.
  bool GetBool(std::string_view key, bool fallback) const;

  // Replaces the value in place, or adds the key at the end of its section
  // (adding the section when it is new). Line breaks in values are dropped.
  void SetString(std::string_view key, std::string_view value);
  void SetInt(std::string_view key, int64_t value);
  void SetBool(std::string_view key, bool value);
  void Remove(std::string_view key);

 private:
  struct Line {
    std::string raw;      // the line as written, without its line break
    std::string section;  // the section it belongs to ("" above the first header)
    std::string key;      // empty unless this is a `key = value` line
    std::string value;
  };

  std::optional<size_t> IndexOf(std::string_view section, std::string_view key) const;
  size_t InsertionPoint(std::string_view section);

  std::vector<Line> lines_;
};

// <the host's settings folder>/settings.ini; empty when the host has none.
std::string SettingsFilePath();
// The user's settings, or empty ones when the file is missing or unreadable.
Settings LoadSettings();
// Writes the settings atomically, creating the folder first.
HostResult SaveSettings(const Settings& settings);

}  // namespace rc
