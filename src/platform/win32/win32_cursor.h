// Mouse pointers as native cursors.
#pragma once

#include <cstdint>
#include <span>

#include "app/host.h"

namespace rc {

// The system's shared cursor for a standard shape; never destroyed.
void* StandardCursorHandle(StandardCursor shape);

// A cursor made from the first image of a .cur file, with the file's hot
// spot; null when the bytes are not a cursor file the system can read. The
// caller destroys it (DestroyCursor).
void* CursorFromFileBytes(std::span<const uint8_t> file);

}  // namespace rc
