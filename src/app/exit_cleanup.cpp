#include "app/exit_cleanup.h"

#include "app/state.h"

namespace rc {

void ExitCleanup() { DestroyState(); }

}  // namespace rc
