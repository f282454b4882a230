#include "app/overlay_cursor.h"

#include "assets/embedded.h"

namespace rc {

MousePointer OverlayCursor() { return MousePointer::FromFile(assets::overlay_cursor_cur); }

}  // namespace rc
