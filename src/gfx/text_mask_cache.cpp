#include "gfx/text_mask_cache.h"

#include <array>

namespace rc {

namespace {

struct Entry {
  const HostRuntime* host = nullptr;
  std::string text;
  std::string family;
  float emSize = 0;
  TextMask mask;
};

constexpr size_t kEntries = 16;

}  // namespace

const TextMask& CachedTextMask(const std::string& text, const FontRequest& font) {
  static std::array<Entry, kEntries> entries;
  static size_t next = 0;
  const HostRuntime* host = &Host();
  for (const Entry& e : entries) {
    if (e.host == host && e.emSize == font.emSize && e.text == text && e.family == font.family) return e.mask;
  }
  Entry& e = entries[next];
  next = (next + 1) % kEntries;
  e = {host, text, font.family, font.emSize, host == nullptr ? TextMask{} : Host().RenderText(text, font)};
  return e.mask;
}

}  // namespace rc
