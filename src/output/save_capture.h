// Saving: the clean selected pixels go to an image file named in the save
// dialog, and the program ends; a cancel returns to the state with no selection.
#pragma once

namespace rc {

void SaveCapture();

}  // namespace rc
