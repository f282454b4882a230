// The host's text masks, kept for the few texts drawn again and again (the
// size label while the pointer only hovers, the menu's and the readout's
// unchanged lines).
#pragma once

#include <string>

#include "app/host.h"

namespace rc {

// The mask of `text` in `font` from the current host, rendered at most once
// while it stays among the recently drawn texts.
const TextMask& CachedTextMask(const std::string& text, const FontRequest& font);

}  // namespace rc
