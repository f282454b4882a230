// Saving where the system says no: a full disk and a read-only file system,
// each a small tmpfs of its own (only where this process may mount one, as
// root in CI). The old file stays whole, nothing is left behind, and the
// failure names its kind.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/posix/posix_files.h"

namespace rc {
namespace {

namespace fs = std::filesystem;

class SmallDiskTest : public ::testing::Test {
 protected:
  // A tmpfs of 64 KiB, read-only when asked; false when none can be mounted.
  bool Mount(bool readOnly) {
    dir_ = fs::temp_directory_path() / ("regioncap-disk-" + std::to_string(::getpid()) + (readOnly ? "-ro" : ""));
    fs::create_directories(dir_);
    mounted_ = ::mount("tmpfs", dir_.c_str(), "tmpfs", 0, "size=64k") == 0;
    if (mounted_) std::ofstream(dir_ / "old.png") << "old";
    if (mounted_ && readOnly) mounted_ = ::mount(nullptr, dir_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    return mounted_;
  }
  void TearDown() override {
    if (mounted_) ::umount(dir_.c_str());
    fs::remove_all(dir_);
  }
  size_t Entries() { return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {})); }

  fs::path dir_;
  bool mounted_ = false;
};

TEST_F(SmallDiskTest, AFullDiskKeepsTheOldFileAndSaysSo) {
  if (!Mount(false)) GTEST_SKIP() << "no tmpfs can be mounted here";
  const std::vector<uint8_t> big(256 * 1024, 7);
  const HostResult result = PosixWriteFileAtomic((dir_ / "old.png").string(), big);
  EXPECT_FALSE(result);
  EXPECT_EQ(result.file, FileFailure::DiskFull) << result.message;
  EXPECT_EQ(fs::file_size(dir_ / "old.png"), 3u);
  EXPECT_EQ(Entries(), 1u) << "the temporary file is gone";
}

TEST_F(SmallDiskTest, AReadOnlyFileSystemSaysSo) {
  if (!Mount(true)) GTEST_SKIP() << "no tmpfs can be mounted here";
  const HostResult result = PosixWriteFileAtomic((dir_ / "new.png").string(), std::vector<uint8_t>{1});
  EXPECT_FALSE(result);
  EXPECT_EQ(result.file, FileFailure::ReadOnly) << result.message;
  EXPECT_EQ(PosixWriteFileAtomic((dir_ / "old.png").string(), std::vector<uint8_t>{1}).file, FileFailure::ReadOnly);
}

}  // namespace
}  // namespace rc
