#include "toolbar/menu.h"

namespace rc {

// The menu's artwork and rows arrive with the menu itself; until then
// nothing is drawn.
void HandleMenuEvent(UiEvent) {}

}  // namespace rc
