#include "app/host.h"

#include <cassert>

namespace rc {

namespace {
HostRuntime* g_host = nullptr;
}

HostRuntime& Host() {
  assert(g_host != nullptr && "no host installed");
  return *g_host;
}

void SetHost(HostRuntime* host) { g_host = host; }

HostResult HostRuntime::PresentPiece(const Canvas&, const Box&, Point) {
  return HostResult::Fail("this window shows only its back buffer");
}

}  // namespace rc
