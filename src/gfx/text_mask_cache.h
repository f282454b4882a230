// The host's text masks, kept for the few texts drawn again and again (the
// size label while the pointer only hovers, the menu's and the readout's
// unchanged lines).
#pragma once

#include <string>

#include "gfx/text_renderer.h"

namespace rc {

// The mask of `text` in `font` from the installed renderer, rendered at most once
// while it stays among the recently drawn texts.
const TextMask& CachedTextMask(const std::string& text, const FontRequest& font);

}  // namespace rc
