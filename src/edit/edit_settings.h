// The tool options kept between runs.
#pragma once

#include "edit/edit_session.h"

namespace rc {

// The options as last saved; defaults when none were saved or what was
// saved cannot be read.
EditOptions LoadEditOptions();
void SaveEditOptions(const EditOptions& options);

}  // namespace rc
