// File services shared by the Linux and headless hosts.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/host.h"

namespace rc {

bool PosixFileExists(const std::string& path);
bool PosixDirectoryExists(const std::string& path);

// The kind of failure an errno value means to the user.
FileFailure PosixFileFailure(int err);

// Writes `bytes` to a temporary file beside `path`, flushes it to disk and
// renames it over `path`, so readers see the old file or the whole new one.
// Failure messages start with `platform` ("X11: cannot write ...: reason").
HostResult PosixWriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes,
                                std::string_view platform = "X11");

// The whole file when it is a regular file of at most `maxBytes`.
std::optional<std::vector<uint8_t>> PosixReadSmallFile(const std::string& path, size_t maxBytes);

// Creates the folder and its missing parents (mode 0700 for new ones: it
// holds one user's settings); fine when it exists already.
HostResult PosixMakeDirectories(const std::string& path, std::string_view platform = "X11");

// $XDG_CONFIG_HOME/regioncap when that is an absolute path, else
// $HOME/.config/regioncap; empty when neither is known.
std::string PosixSettingsDirectory();

}  // namespace rc
