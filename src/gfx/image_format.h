// Image formats are named between the parts of the program by these texts.
#pragma once

#include <string_view>

namespace rc {

inline constexpr std::string_view kImageFormatBmp = "{B96B3CAB-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr std::string_view kImageFormatJpeg = "{B96B3CAE-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr std::string_view kImageFormatPng = "{B96B3CAF-0728-11D3-9D7B-0000F81EF32E}";
inline constexpr std::string_view kImageFormatGif = "{B96B3CB0-0728-11D3-9D7B-0000F81EF32E}";

}  // namespace rc
