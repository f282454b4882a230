// The scale at which a monitor shows the program's own UI: 1 at 96 dpi,
// 2 on a monitor set to 200 %. Selections, snapshots and outputs are always
// in physical pixels; only toolbar, menu, magnifier, label, handles,
// outline and notices grow with the scale.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rc {

// Below 1 the captions become unreadable; beyond 4 a toolbar would no
// longer fit beside a selection on any monitor.
inline constexpr float kSmallestUiScale = 1.0f;
inline constexpr float kLargestUiScale = 4.0f;

// `scale` kept within the usable range; anything not a number gives 1.
float ClampUiScale(float scale);

// The scale of a resolution in dots per inch (96 is 1).
float UiScaleFromDpi(double dpi);

// A positive number written in decimal ("1.5", "192"); nullopt for
// anything else.
std::optional<double> ParsePositiveNumber(std::string_view text);

// A scale written as a number ("1.5", "2"), clamped; nullopt for anything else.
std::optional<float> ParseUiScale(std::string_view text);

// A length of the UI's 1x layout in pixels at `scale`, rounded to the
// nearest pixel (halves away from zero).
int32_t ScalePx(int32_t length, float scale);

// The 1x layout position of the pixel `pixels` from an element's corner
// drawn at `scale`.
int32_t UnscalePx(int32_t pixels, float scale);

}  // namespace rc
