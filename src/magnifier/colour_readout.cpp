#include "magnifier/colour_readout.h"

#include <algorithm>

namespace rc {

namespace {

uint32_t DigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<uint32_t>(c - '0');
  if (c >= 'A' && c <= 'F') return static_cast<uint32_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f') return static_cast<uint32_t>(c - 'a' + 10);
  return 0;
}

// The two-digit group that ends `fromRight` digits before the text's end;
// a group running past the start keeps only the digits that exist.
int32_t GroupValue(const std::string& text, size_t fromRight) {
  if (fromRight >= text.size()) return 0;
  const size_t end = text.size() - fromRight;
  const size_t begin = end >= 2 ? end - 2 : 0;
  return static_cast<int32_t>(HexTextToInt(std::string_view(text).substr(begin, end - begin)));
}

}  // namespace

ColourChannels SplitColourChannels(uint32_t colour) {
  const std::string text = ToHexText(colour);
  return {GroupValue(text, 0), GroupValue(text, 2), GroupValue(text, 4)};
}

std::string ToHexText(uint32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  while (value / 16 != 0) {
    text.push_back(kDigits[value % 16]);
    value /= 16;
  }
  text.push_back(kDigits[value]);
  if (text.size() < 2) text.push_back('0');
  std::reverse(text.begin(), text.end());
  return text;
}

uint32_t HexTextToInt(std::string_view text) {
  uint32_t value = 0;
  for (char c : text) value = value * 16 + DigitValue(c);
  return value;
}

}  // namespace rc
