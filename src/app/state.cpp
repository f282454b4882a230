#include "app/state.h"

#include <cassert>

namespace rc {

namespace {
std::unique_ptr<CaptureState> g_state;
}

CaptureState& State() {
  assert(g_state && "no capture is running");
  return *g_state;
}

bool HasState() { return g_state != nullptr; }

void CreateState() { g_state = std::make_unique<CaptureState>(); }

void DestroyState() { g_state.reset(); }

}  // namespace rc
