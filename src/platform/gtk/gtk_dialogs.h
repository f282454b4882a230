// The desktop's own save dialog and yes/no question, through GTK 3's native
// file chooser (which uses the desktop portal where one runs).
#pragma once

#include <string>

#include "app/host.h"

namespace rc {

// Shows the chooser with the request's filters (the first selected), the
// proposed name and, when asked, the overwrite question. Not confirmed,
// with `error` set, when GTK is not available.
SaveDialogResult ShowGtkSaveDialog(const SaveDialogRequest& request);

// The question with Yes and No; No when GTK is not available, so nothing
// is replaced without the user's word.
bool AskGtkYesNo(const std::string& title, const std::string& question);

}  // namespace rc
