// Reading the X resource database text that xrdb keeps in the root
// window's RESOURCE_MANAGER property ("Xft.dpi:\t192\n..."), and the UI
// scale it and the environment ask for.
#pragma once

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "app/ui_scale.h"

namespace rc {

// The value of the resource named exactly `name`, blanks trimmed; nullopt
// when no line names it. A later line for the same name wins, as in xrdb.
inline std::optional<std::string> FindXResource(std::string_view text, std::string_view name) {
  constexpr std::string_view kBlanks = " \t";
  std::optional<std::string> found;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    std::string_view key = line.substr(0, colon);
    std::string_view value = line.substr(colon + 1);
    key.remove_prefix(std::min(key.find_first_not_of(kBlanks), key.size()));
    key = key.substr(0, key.find_last_not_of(kBlanks) + 1);
    if (key != name) continue;
    value.remove_prefix(std::min(value.find_first_not_of(kBlanks), value.size()));
    found = std::string(value.substr(0, value.find_last_not_of(std::string_view{" \t\r"}) + 1));
  }
  return found;
}

// The scale from the REGIONCAP_SCALE text (nullopt when unset) when it
// holds a number, else from the Xft.dpi resource (96 dpi is 1), else 1.
inline float ChooseX11UiScale(std::optional<std::string_view> variable, std::string_view resources) {
  if (variable) {
    if (const std::optional<float> scale = ParseUiScale(*variable)) return *scale;
  }
  const std::optional<std::string> text = FindXResource(resources, "Xft.dpi");
  const std::optional<double> dpi = text ? ParsePositiveNumber(*text) : std::nullopt;
  return dpi ? UiScaleFromDpi(*dpi) : 1.0f;
}

}  // namespace rc
