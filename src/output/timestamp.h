// The time stamp in proposed file names: year, then month, day, hour,
// minute and second as two digits each, with no separators.
#pragma once

#include <string>

#include "app/host.h"

namespace rc {

// "20261207041500" for 7 December 2026, 04:15:00. The year has as many
// digits as it needs.
std::string TimestampText(const HostRuntime::LocalTime& when);

}  // namespace rc
