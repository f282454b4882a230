#include "gfx/text_mask_cache.h"

#include <array>

namespace rc {

namespace {

struct Entry {
  uint64_t renderer = 0;
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
  const uint64_t renderer = TextRendererGeneration();
  for (const Entry& e : entries) {
    if (e.renderer == renderer && e.emSize == font.emSize && e.text == text && e.family == font.family) return e.mask;
  }
  Entry& e = entries[next];
  next = (next + 1) % kEntries;
  e = {renderer, text, font.family, font.emSize, RenderTextMask(text, font)};
  return e.mask;
}

}  // namespace rc
