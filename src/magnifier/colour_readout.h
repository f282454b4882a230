// The RGB readout's helpers: a COLORREF split into its channels through its
// hexadecimal text, and the two hexadecimal conversions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rc {

struct ColourChannels {
  int32_t red = 0;
  int32_t green = 0;
  int32_t blue = 0;
  friend bool operator==(const ColourChannels&, const ColourChannels&) = default;
};

// The channels of a COLORREF (0x00BBGGRR), read two hex digits at a time
// from the right of its text.
ColourChannels SplitColourChannels(uint32_t colour);

// Upper-case hexadecimal, most significant digit first, at least two digits
// and no further leading zeros: 5 -> "05", 0x1FF -> "1FF".
std::string ToHexText(uint32_t value);

// The value of hexadecimal text; a character that is no hex digit counts as
// the digit 0, and the empty text is 0. Values past 32 bits wrap round.
uint32_t HexTextToInt(std::string_view text);

}  // namespace rc
