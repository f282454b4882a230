// The program's own 32 x 32 rainbow arrow, shown over the overlay.
#pragma once

#include "app/host.h"

namespace rc {

MousePointer OverlayCursor();

}  // namespace rc
