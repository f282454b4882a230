#include "platform/posix/posix_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>

namespace rc {

void PrefaultForWriting(void* memory, size_t bytes) {
#ifdef MADV_POPULATE_WRITE
  // Whole pages only: the partial pages at either end may hold other data.
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = (reinterpret_cast<uintptr_t>(memory) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(page - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
#else
  (void)memory;
  (void)bytes;
#endif
}

void DropPages(const void* memory, size_t bytes) {
  const auto page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = (reinterpret_cast<uintptr_t>(memory) + page - 1) & ~(page - 1);
  const auto end = (reinterpret_cast<uintptr_t>(memory) + bytes) & ~(page - 1);
  if (end > start) madvise(reinterpret_cast<void*>(start), end - start, MADV_DONTNEED);
}

std::vector<MappedRange> MappingsNamed(std::string_view name) {
  std::ifstream maps("/proc/self/maps");
  std::vector<MappedRange> ranges;
  for (std::string line; std::getline(maps, line);) {
    if (line.find(name) == std::string::npos) continue;
    const size_t dash = line.find('-');
    ranges.push_back({std::stoull(line, nullptr, 16), std::stoull(line.substr(dash + 1), nullptr, 16)});
  }
  return ranges;
}

}  // namespace rc
