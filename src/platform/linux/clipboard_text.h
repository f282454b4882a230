// The text formats a Linux clipboard owner serves, on X11 and on Wayland
// alike. Pure, so tests need neither.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace rc {

// STRING is Latin-1: a character beyond it becomes "?".
std::vector<uint8_t> Latin1FromUtf8(std::string_view utf8);

}  // namespace rc
