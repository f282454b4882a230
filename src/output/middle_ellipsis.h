// Shortening a long name in its middle, where a file name's start and its
// extension, the parts that tell it apart, both stay in view.
#pragma once

#include <cstddef>
#include <string>

namespace rc {

// How many characters (UTF-8 code points) `utf8` has.
size_t CharacterCount(const std::string& utf8);

// `utf8` with its middle replaced by "…" so that `keep` characters of it
// remain, the extra one going to the start; unchanged when it is no longer.
// Never splits a character.
std::string ShortenInMiddle(const std::string& utf8, size_t keep);

}  // namespace rc
