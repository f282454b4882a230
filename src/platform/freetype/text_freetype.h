// Text masks through fontconfig and FreeType, for the Linux and headless hosts.
#pragma once

#include <string>

#include "app/host.h"

namespace rc {

// Renders UTF-8 text in the requested family, falling back to an installed
// CJK sans and then to any sans when the family is missing.
TextMask RenderTextFreeType(const std::string& utf8, const FontRequest& font);

}  // namespace rc
