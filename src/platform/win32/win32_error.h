// Failure texts of the Windows host: "Win32: <what>: <the system's reason>".
#pragma once

#include <cstdint>
#include <string>

#include "app/host.h"

namespace rc {

// The system's description of an error code, without its line break.
std::string SystemErrorText(uint32_t code);

// A failed HostResult for `what`, with the calling thread's last error.
HostResult Win32Failure(const std::string& what);

// The kind of failure a file error code means to the user.
FileFailure Win32FileFailure(uint32_t code);

// As Win32Failure, for a file: the result also names the kind of failure.
HostResult Win32FileError(const std::string& what);

}  // namespace rc
