// Backs fresh memory ahead of its first writes. Memory the system backs a
// page at a time, as each page is first written, costs far more than memory
// backed in large calls, so a helper thread backs a block from the front,
// a chunk at a time, while the program does other things; a writer that
// gets ahead of the thread backs the chunks it needs itself, in the same
// large calls, and waits only for a chunk the thread has under way.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <thread>

namespace rc {

class MemoryBacker {
 public:
  static constexpr size_t kChunkBytes = size_t{1} << 20;
  static constexpr size_t kPageBytes = 4096;

  MemoryBacker() = default;
  MemoryBacker(const MemoryBacker&) = delete;
  MemoryBacker& operator=(const MemoryBacker&) = delete;
  ~MemoryBacker() { Stop(); }

  // Starts backing `bytes` at `memory`, which must stay until Finish.
  void Start(void* memory, size_t bytes);
  // Returns once the `bytes` from `offset` on are backed; at once when no
  // backing runs.
  void Ensure(size_t offset, size_t bytes);
  // Returns once the whole block is backed; does nothing when no backing runs.
  void Finish();
  // Returns once the thread is done, leaving what it had not started
  // unbacked: for memory about to go unused.
  void Stop();

 private:
  enum ChunkState : uint8_t { kWaiting, kBacking, kBacked };

  void Work();
  // Backs `chunk` when nobody has started it; true when this call did.
  bool Claim(size_t chunk);
  void AwaitChunk(size_t chunk);

  unsigned char* memory_ = nullptr;
  size_t bytes_ = 0;
  size_t lead_ = 0;  // bytes of the first page that lie before the block
  size_t chunks_ = 0;
  std::unique_ptr<std::atomic<uint8_t>[]> states_;
  std::thread thread_;
};

}  // namespace rc
