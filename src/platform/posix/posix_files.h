// File services shared by the Linux and headless hosts.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "app/host.h"

namespace rc {

bool PosixFileExists(const std::string& path);

// The kind of failure an errno value means to the user.
FileFailure PosixFileFailure(int err);

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`, so readers see the old file or the whole new one.
// Failure messages start with `platform` ("X11: cannot write ...: reason").
HostResult PosixWriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes,
                                std::string_view platform = "X11");

}  // namespace rc
