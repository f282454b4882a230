// Finishing: the clean selected pixels go to the clipboard and the program ends.
#pragma once

namespace rc {

void FinishCapture();

}  // namespace rc
