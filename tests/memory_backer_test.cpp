#include "platform/posix/memory_backer.h"

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <vector>

#include "gfx/thread_start.h"

namespace rc {
namespace {

// Fresh pages from the system, none of them backed yet; the block under
// test starts 16 bytes in, as memory from malloc does.
class MemoryBackerTest : public ::testing::Test {
 protected:
  static constexpr size_t kPage = 4096;
  static constexpr size_t kMapped = 5 * MemoryBacker::kChunkBytes + 3 * kPage;
  static constexpr size_t kLead = 16;
  static constexpr size_t kBlock = kMapped - kLead - 100;

  void SetUp() override {
    mapped_ = static_cast<unsigned char*>(
        mmap(nullptr, kMapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(mapped_, MAP_FAILED);
#ifdef MADV_POPULATE_WRITE
    if (madvise(mapped_, kPage, MADV_POPULATE_WRITE) == 0) return;
#endif
    GTEST_SKIP() << "this system backs memory only as it is written";
  }
  void TearDown() override {
    RefuseThreadStarts(false);
    if (mapped_ != MAP_FAILED) munmap(mapped_, kMapped);
  }

  unsigned char* Block() const { return mapped_ + kLead; }
  // Whether every page holding a byte of [offset, offset + bytes) of the
  // block is backed, but for the block's first and last pages, which it
  // shares with other data and leaves to their first writes.
  bool Backed(size_t offset, size_t bytes) const {
    const size_t first = std::max<size_t>(1, (kLead + offset) / kPage);
    const size_t last = std::min((kLead + offset + bytes - 1) / kPage, (kLead + kBlock) / kPage - 1);
    std::vector<unsigned char> resident(kMapped / kPage);
    if (mincore(mapped_, kMapped, resident.data()) != 0) return false;
    for (size_t page = first; page <= last; ++page) {
      if ((resident[page] & 1) == 0) return false;
    }
    return true;
  }

  unsigned char* mapped_ = static_cast<unsigned char*>(MAP_FAILED);
};

TEST_F(MemoryBackerTest, WhatAWriterAsksForIsBackedWhenEnsureReturnsAndAllOfItAfterFinish) {
  MemoryBacker backer;
  backer.Start(Block(), kBlock);
  // Across the boundary of two chunks, and at the very end of the block.
  const size_t across = 3 * MemoryBacker::kChunkBytes - 2 * kPage;
  backer.Ensure(across, 4 * kPage);
  EXPECT_TRUE(Backed(across, 4 * kPage));
  backer.Ensure(kBlock - kPage - 200, 1);
  EXPECT_TRUE(Backed(kBlock - kPage - 200, 1));
  // Past the end is nothing to back, and nothing to wait for.
  backer.Ensure(kBlock, kPage);
  backer.Ensure(kBlock - kPage, 10 * kPage);
  backer.Finish();
  EXPECT_TRUE(Backed(0, kBlock));
  // Once finished, nothing runs and nothing is waited for.
  backer.Ensure(0, kBlock);
  backer.Finish();
}

TEST_F(MemoryBackerTest, WritersEnsuringRowsOutOfOrderWhileTheThreadRunsEndWithEveryPageBacked) {
  for (int round = 0; round < 3; ++round) {
    MemoryBacker backer;
    backer.Start(Block(), kBlock);
    const size_t row = 15360;
    for (size_t y = 0; y * row < kBlock; y += 7) {
      const size_t at = (y * 13 % (kBlock / row)) * row;
      backer.Ensure(at, row);
      ASSERT_TRUE(Backed(at, std::min(row, kBlock - at))) << "row at " << at;
    }
    backer.Finish();
    EXPECT_TRUE(Backed(0, kBlock));
    munmap(mapped_, kMapped);
    mapped_ = static_cast<unsigned char*>(
        mmap(nullptr, kMapped, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(mapped_, MAP_FAILED);
  }
}

// Without a thread the block is backed before Start returns; stopping then
// has nothing to stop, and the memory can go.
TEST_F(MemoryBackerTest, WithoutAThreadTheBlockIsBackedAtStart) {
  RefuseThreadStarts(true);
  MemoryBacker backer;
  backer.Start(Block(), kBlock);
  EXPECT_TRUE(Backed(0, kBlock));
  backer.Stop();
  backer.Ensure(0, kBlock);
}

// Stopping leaves the block alone from then on: the backer can be dropped
// before the memory is, and started again on other memory.
TEST_F(MemoryBackerTest, StoppingEndsTheThreadAndTheBackerCanStartAgain) {
  MemoryBacker backer;
  backer.Start(Block(), kBlock);
  backer.Stop();
  backer.Ensure(0, kBlock);  // returns at once: nothing runs
  backer.Start(Block(), kBlock / 2);
  backer.Finish();
  EXPECT_TRUE(Backed(0, kBlock / 2 - kPage));  // the last page is shared
}

}  // namespace
}  // namespace rc
