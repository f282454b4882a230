// Per-monitor DPI awareness, so that screen copies are the real pixels and
// not a scaled-down picture of them.
#pragma once

namespace rc {

// Call before any window exists. Uses the newest mechanism the system has.
void MakeProcessDpiAware();

}  // namespace rc
