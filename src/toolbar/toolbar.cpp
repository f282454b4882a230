#include "toolbar/toolbar.h"

namespace rc {

// The toolbar's artwork and buttons arrive with the toolbar itself; until
// then nothing is drawn.
void HandleToolbarEvent(UiEvent) {}

}  // namespace rc
