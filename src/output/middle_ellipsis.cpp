#include "output/middle_ellipsis.h"

namespace rc {

namespace {

constexpr const char* kEllipsis = "…";

bool StartsCharacter(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }

// The byte offset at which character number `index` starts.
size_t OffsetOfCharacter(const std::string& utf8, size_t index) {
  size_t seen = 0;
  for (size_t at = 0; at < utf8.size(); ++at) {
    if (!StartsCharacter(utf8[at])) continue;
    if (seen++ == index) return at;
  }
  return utf8.size();
}

}  // namespace

size_t CharacterCount(const std::string& utf8) {
  size_t count = 0;
  for (char byte : utf8) count += StartsCharacter(byte) ? 1 : 0;
  return count;
}

std::string ShortenInMiddle(const std::string& utf8, size_t keep) {
  const size_t count = CharacterCount(utf8);
  if (count <= keep) return utf8;
  const size_t head = (keep + 1) / 2;
  const size_t tail = keep - head;
  return utf8.substr(0, OffsetOfCharacter(utf8, head)) + kEllipsis + utf8.substr(OffsetOfCharacter(utf8, count - tail));
}

}  // namespace rc
