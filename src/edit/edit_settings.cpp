#include "edit/edit_settings.h"

namespace rc {

EditOptions LoadEditOptions() { return EditOptions{}; }

void SaveEditOptions(const EditOptions&) {}

}  // namespace rc
