// Files and the clock for the Windows host.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "app/host.h"

namespace rc {

bool FileExistsWin32(const std::string& path);
// Writes a temporary file beside `path`, flushes it to the disk, then moves
// it over `path` in one step; a failure removes the temporary file and
// leaves any earlier file at `path` as it was.
HostResult WriteFileAtomicWin32(const std::string& path, std::span<const uint8_t> bytes);
HostRuntime::LocalTime NowWin32();

}  // namespace rc
