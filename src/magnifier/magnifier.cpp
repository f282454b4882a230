#include "magnifier/magnifier.h"

namespace rc {

// The panel arrives with the magnifier itself; until then nothing is drawn.
void PlaceMagnifier() {}

}  // namespace rc
