#include "output/timestamp.h"

namespace rc {

namespace {

// "0" in front, then the last two characters: 7 -> "07", 12 -> "12".
std::string TwoDigits(int value) {
  const std::string padded = "0" + std::to_string(value);
  return padded.substr(padded.size() - 2);
}

}  // namespace

std::string TimestampText(const HostRuntime::LocalTime& when) {
  return std::to_string(when.year) + TwoDigits(when.month) + TwoDigits(when.day) + TwoDigits(when.hour) +
         TwoDigits(when.minute) + TwoDigits(when.second);
}

}  // namespace rc
