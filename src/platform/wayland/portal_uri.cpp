#include "platform/wayland/portal_uri.h"

#include <string_view>

namespace rc {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::optional<std::string> Unescaped(std::string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const int high = i + 2 < text.size() ? HexValue(text[i + 1]) : -1;
    const int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
    if (high < 0 || low < 0 || (high == 0 && low == 0)) return std::nullopt;
    out += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return out;
}

}  // namespace

std::optional<std::string> LocalPathOfUri(const std::string& uri) {
  constexpr std::string_view kScheme = "file://";
  if (uri.size() <= kScheme.size() || uri.compare(0, kScheme.size(), kScheme) != 0) return std::nullopt;
  const std::string_view rest = std::string_view(uri).substr(kScheme.size());
  const size_t slash = rest.find('/');
  if (slash == std::string_view::npos) return std::nullopt;
  const std::string_view host = rest.substr(0, slash);
  if (!host.empty() && host != "localhost") return std::nullopt;
  const std::string_view path = rest.substr(slash);
  if (path.find_first_of("?#") != std::string_view::npos) return std::nullopt;
  return Unescaped(path);
}

}  // namespace rc
