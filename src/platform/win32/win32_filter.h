// The save dialog's filter list in the form the common dialog reads.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace rc {

// "label\0pattern\0label\0pattern\0\0": each pair NUL-terminated and the
// whole list closed by one more NUL. An empty list gives an empty buffer
// (the dialog then shows no filter). A NUL inside a label or pattern would
// end the list early, so it is dropped.
std::wstring BuildFilterBuffer(const std::vector<std::pair<std::string, std::string>>& filters);

}  // namespace rc
