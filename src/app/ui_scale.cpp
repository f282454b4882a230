#include "app/ui_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace rc {

float ClampUiScale(float scale) {
  if (!std::isfinite(scale)) return 1.0f;
  return std::clamp(scale, kSmallestUiScale, kLargestUiScale);
}

float UiScaleFromDpi(double dpi) { return ClampUiScale(static_cast<float>(dpi / 96.0)); }

std::optional<double> ParsePositiveNumber(std::string_view text) {
  const std::string copy(text);
  char* end = nullptr;
  const double value = std::strtod(copy.c_str(), &end);
  // strtod skips leading blanks; trailing ones are allowed as well.
  while (end != nullptr && (*end == ' ' || *end == '\t' || *end == '\n')) ++end;
  if (copy.empty() || end == copy.c_str() || *end != '\0' || !std::isfinite(value) || value <= 0) {
    return std::nullopt;
  }
  return value;
}

std::optional<float> ParseUiScale(std::string_view text) {
  const std::optional<double> value = ParsePositiveNumber(text);
  if (!value) return std::nullopt;
  return ClampUiScale(static_cast<float>(*value));
}

int32_t ScalePx(int32_t length, float scale) {
  if (scale == 1) return length;
  return static_cast<int32_t>(std::lround(static_cast<double>(length) * scale));
}

int32_t UnscalePx(int32_t pixels, float scale) {
  if (scale == 1) return pixels;
  return static_cast<int32_t>(std::floor(static_cast<double>(pixels) / scale));
}

}  // namespace rc
