// Message boxes above the overlay.
#pragma once

#include <windows.h>

#include <string>

namespace rc {

void ShowErrorBox(HWND owner, const std::string& text);
// True when the user answers yes.
bool AskYesNoBox(HWND owner, const std::string& title, const std::string& question);

}  // namespace rc
