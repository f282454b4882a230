// UTF-8 (the program's texts) to UTF-16 (the platform's) and back.
#pragma once

#include <string>
#include <string_view>

namespace rc {

// Malformed UTF-8 becomes U+FFFD, as the platform's converter does.
std::wstring Utf8ToWide(std::string_view utf8);
// Unpaired surrogates become U+FFFD.
std::string WideToUtf8(std::wstring_view wide);

}  // namespace rc
