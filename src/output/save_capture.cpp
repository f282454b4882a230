#include "output/save_capture.h"

#include "overlay/overlay_ops.h"

namespace rc {

// The save dialog and the encoders arrive with the output work; until then
// saving behaves as a cancelled dialog.
void SaveCapture() { ResetSelection(); }

}  // namespace rc
