// What a failed save tells: the reason in the user's words in the notice
// (the name shortened to fit the screen), the system's words on stderr.
#pragma once

#include <string>

#include "app/host.h"

namespace rc {

// The reason as the notice gives it ("只读", "磁盘已满" …); empty when
// the platform could not say.
std::string FileFailureText(FileFailure kind);

// "保存失败：磁盘已满，无法写入“name”", the name shortened in its middle
// as far as the screen needs.
std::string SaveFailureNotice(FileFailure kind, const std::string& fileTitle);

// Back at the selection with the notice; the host's message on stderr.
void ReportSaveFailure(const HostResult& result, const std::string& fileTitle);

}  // namespace rc
