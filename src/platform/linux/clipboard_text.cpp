#include "platform/linux/clipboard_text.h"

namespace rc {

std::vector<uint8_t> Latin1FromUtf8(std::string_view utf8) {
  std::vector<uint8_t> latin1;
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const bool twoByteLatin1 = (c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                               (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80;
    if (c < 0x80) {
      latin1.push_back(c);
    } else if (twoByteLatin1) {
      latin1.push_back(static_cast<uint8_t>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F)));
    } else if ((c & 0xC0) != 0x80) {
      latin1.push_back('?');
    }
  }
  return latin1;
}

}  // namespace rc
