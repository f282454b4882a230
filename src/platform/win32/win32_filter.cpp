#include "platform/win32/win32_filter.h"

#include <algorithm>

#include "platform/win32/win32_text_encoding.h"

namespace rc {

namespace {

void AppendField(std::wstring& buffer, const std::string& utf8) {
  std::wstring field = Utf8ToWide(utf8);
  field.erase(std::remove(field.begin(), field.end(), L'\0'), field.end());
  buffer += field;
  buffer += L'\0';
}

}  // namespace

std::wstring BuildFilterBuffer(const std::vector<std::pair<std::string, std::string>>& filters) {
  std::wstring buffer;
  if (filters.empty()) return buffer;
  for (const auto& [label, pattern] : filters) {
    AppendField(buffer, label);
    AppendField(buffer, pattern);
  }
  buffer += L'\0';
  return buffer;
}

}  // namespace rc
