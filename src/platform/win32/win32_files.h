// Files and the clock for the Windows host.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/host.h"

namespace rc {

bool FileExistsWin32(const std::string& path);
bool DirectoryExistsWin32(const std::string& path);
// Writes a temporary file beside `path`, flushes it to the disk, then moves
// it over `path` in one step; a failure removes the temporary file and
// leaves any earlier file at `path` as it was.
HostResult WriteFileAtomicWin32(const std::string& path, std::span<const uint8_t> bytes);
HostRuntime::LocalTime NowWin32();

// The whole file when it holds at most `maxBytes`.
std::optional<std::vector<uint8_t>> ReadSmallFileWin32(const std::string& path, size_t maxBytes);
// Creates the folder and its missing parents; fine when it exists already.
HostResult MakeDirectoriesWin32(const std::string& path);
// %APPDATA%\regioncap; empty when the system names no such folder.
std::string SettingsDirectoryWin32();

}  // namespace rc
