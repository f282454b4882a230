#include "platform/posix/posix_error_line.h"

namespace rc {

std::string OneErrorLine(const std::string& text) {
  std::string out = "regioncap: ";
  bool gap = false;
  for (char c : text) {
    if (c == '\r' || c == '\n') {
      gap = true;
      continue;
    }
    if (gap && out.back() != ' ') out += ' ';
    gap = false;
    out += c;
  }
  return out + '\n';
}

}  // namespace rc
