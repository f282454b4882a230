// The standard save dialog.
#pragma once

#include <windows.h>

#include "app/host.h"

namespace rc {

// Room for the longest path the system accepts, not just MAX_PATH.
constexpr size_t kSaveDialogPathChars = 32768;

// Modal over `owner`; not confirmed after a cancel or a failure.
SaveDialogResult ShowSaveDialogWin32(HWND owner, const SaveDialogRequest& request);

}  // namespace rc
