#include "platform/posix/memory_backer.h"

#include <algorithm>

#include "gfx/thread_start.h"
#include "platform/posix/posix_memory.h"

namespace rc {

void MemoryBacker::Start(void* memory, size_t bytes) {
  Stop();
  memory_ = static_cast<unsigned char*>(memory);
  bytes_ = bytes;
  lead_ = reinterpret_cast<uintptr_t>(memory) % kPageBytes;
  chunks_ = (lead_ + bytes + kChunkBytes - 1) / kChunkBytes;
  states_ = std::make_unique<std::atomic<uint8_t>[]>(chunks_);
  for (size_t chunk = 0; chunk < chunks_; ++chunk) states_[chunk].store(kWaiting, std::memory_order_relaxed);
  thread_ = StartThreadOrRunHere([this] { Work(); });
}

void MemoryBacker::Ensure(size_t offset, size_t bytes) {
  if (!thread_.joinable() || bytes == 0 || offset >= bytes_) return;
  const size_t last = std::min(chunks_ - 1, (lead_ + offset + bytes - 1) / kChunkBytes);
  for (size_t chunk = (lead_ + offset) / kChunkBytes; chunk <= last; ++chunk) {
    if (!Claim(chunk)) AwaitChunk(chunk);
  }
}

void MemoryBacker::Finish() {
  if (!thread_.joinable()) return;
  Ensure(0, bytes_);
  thread_.join();
}

void MemoryBacker::Stop() {
  if (!thread_.joinable()) return;
  for (size_t chunk = 0; chunk < chunks_; ++chunk) {
    uint8_t waiting = kWaiting;
    states_[chunk].compare_exchange_strong(waiting, kBacked, std::memory_order_acq_rel);
  }
  thread_.join();
}

void MemoryBacker::Work() {
  for (size_t chunk = 0; chunk < chunks_; ++chunk) Claim(chunk);
}

bool MemoryBacker::Claim(size_t chunk) {
  uint8_t waiting = kWaiting;
  if (states_[chunk].load(std::memory_order_acquire) != kWaiting ||
      !states_[chunk].compare_exchange_strong(waiting, kBacking, std::memory_order_acquire))
    return false;
  // Chunks start on page boundaries, so no page is left between two.
  const size_t start = chunk == 0 ? 0 : chunk * kChunkBytes - lead_;
  const size_t end = std::min(bytes_, (chunk + 1) * kChunkBytes - lead_);
  PrefaultForWriting(memory_ + start, end - start);
  states_[chunk].store(kBacked, std::memory_order_release);
  return true;
}

// While the other thread backs `chunk`, this one backs chunks further on
// rather than idle: the block is backed sooner, and this thread's next
// chunks are likely among them.
void MemoryBacker::AwaitChunk(size_t chunk) {
  size_t next = chunk + 1;
  while (states_[chunk].load(std::memory_order_acquire) != kBacked) {
    while (next < chunks_ && !Claim(next)) ++next;
    if (next >= chunks_) std::this_thread::yield();
  }
}

}  // namespace rc
