#include "app/compositor.h"

namespace rc {

namespace {
Compositor g_compositor = Compositor::Fast;
}

Compositor ActiveCompositor() { return g_compositor; }
void UseCompositor(Compositor compositor) { g_compositor = compositor; }

}  // namespace rc
