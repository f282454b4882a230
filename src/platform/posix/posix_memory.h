// Memory services shared by the Linux and headless hosts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace rc {

// Asks the system to back freshly allocated memory now, in one call, rather
// than a page at a time as it is first written. Only a hint: it does nothing
// where the system does not offer it.
void PrefaultForWriting(void* memory, size_t bytes);

// Gives the whole pages of a buffer back to the system. For a forked
// clipboard owner, whose copy of the program's buffers nobody reads again:
// the program's own copy is not touched.
void DropPages(const void* memory, size_t bytes);

struct MappedRange {
  uintptr_t start = 0;
  uintptr_t end = 0;
};

// This process's mappings whose line in /proc/self/maps names `name` (a
// shared-memory segment, a memfd), for a forked clipboard owner to let go of.
std::vector<MappedRange> MappingsNamed(std::string_view name);

}  // namespace rc
