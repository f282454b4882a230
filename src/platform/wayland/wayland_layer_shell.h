// The layer shell's generated client header, which names an argument
// "namespace": C code may, C++ may not.
#pragma once

#define namespace layer_namespace
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#undef namespace
