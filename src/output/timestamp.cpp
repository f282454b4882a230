#include "output/timestamp.h"

#include <cstdio>

namespace rc {

namespace {

// "0" in front, then the last two characters: 7 -> "07", 12 -> "12".
std::string TwoDigits(int value) {
  char padded[16];
  const int length = std::snprintf(padded, sizeof padded, "0%d", value);
  return std::string(padded + length - 2, 2);
}

}  // namespace

std::string TimestampText(const HostRuntime::LocalTime& when) {
  return std::to_string(when.year) + TwoDigits(when.month) + TwoDigits(when.day) + TwoDigits(when.hour) +
         TwoDigits(when.minute) + TwoDigits(when.second);
}

}  // namespace rc
