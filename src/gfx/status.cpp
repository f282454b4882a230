#include "gfx/status.h"

namespace rc {

namespace {
GpStatus g_lastStatus = GpStatus::Ok;
}

GpStatus LastStatus() { return g_lastStatus; }
void SetLastStatus(GpStatus status) { g_lastStatus = status; }

}  // namespace rc
