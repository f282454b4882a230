// Case folding for the words users type in settings, shortcuts and options:
// only A-Z fold, whatever the locale, so a UTF-8 byte is never touched.
#pragma once

#include <string>
#include <string_view>

namespace rc {

inline std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace rc
