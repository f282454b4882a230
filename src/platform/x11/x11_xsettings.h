// Reading one integer from the desktop's XSETTINGS blob (the settings
// daemon's _XSETTINGS_SETTINGS property), such as "Net/DoubleClickTime".
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace rc {

namespace xsettings_detail {

inline uint32_t Card(std::span<const uint8_t> b, size_t at, size_t width, bool msb) {
  uint32_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= static_cast<uint32_t>(b[at + i]) << (8 * (msb ? width - 1 - i : i));
  return v;
}

constexpr size_t Pad4(size_t n) { return (n + 3) & ~size_t{3}; }

}  // namespace xsettings_detail

// The integer setting `name`, or nullopt when it is missing, not an integer,
// or the blob is malformed (every read is bounds-checked).
inline std::optional<int32_t> FindXSettingsInt(std::span<const uint8_t> blob, std::string_view name) {
  using namespace xsettings_detail;
  if (blob.size() < 12) return std::nullopt;
  const bool msb = blob[0] != 0;
  const uint32_t count = Card(blob, 8, 4, msb);
  size_t at = 12;
  for (uint32_t i = 0; i < count; ++i) {
    if (blob.size() - at < 4) return std::nullopt;
    const uint8_t type = blob[at];
    const size_t nameLen = Card(blob, at + 2, 2, msb);
    const size_t nameAt = at + 4;
    const size_t valueAt = nameAt + Pad4(nameLen) + 4;  // after the last-change serial
    if (blob.size() < valueAt + 4) return std::nullopt;
    const std::string_view key(reinterpret_cast<const char*>(blob.data() + nameAt), nameLen);
    if (type == 0 && key == name) return static_cast<int32_t>(Card(blob, valueAt, 4, msb));
    if (type == 0) at = valueAt + 4;
    else if (type == 1) at = valueAt + 4 + Pad4(Card(blob, valueAt, 4, msb));
    else if (type == 2) at = valueAt + 8;
    else return std::nullopt;
    if (at > blob.size()) return std::nullopt;
  }
  return std::nullopt;
}

}  // namespace rc
