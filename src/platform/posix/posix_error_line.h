// Error texts on stderr for the Linux hosts.
#pragma once

#include <string>

namespace rc {

// The error box's lines joined into one stderr line starting "regioncap: ",
// so a log keeps the heading and the reason together.
std::string OneErrorLine(const std::string& text);

}  // namespace rc
