// Releases every global of the program; the host runs it once as the
// program ends, whatever ends it.
#pragma once

namespace rc {

void ExitCleanup();

}  // namespace rc
