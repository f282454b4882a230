#include "platform/posix/posix_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace rc {
namespace {

namespace fs = std::filesystem;

class PosixFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("regioncap-files-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Read(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
  }
  size_t Entries() { return static_cast<size_t>(std::distance(fs::directory_iterator(dir_), {})); }

  fs::path dir_;
};

TEST_F(PosixFilesTest, WritesAndReplacesWholeFilesKeepingTheMode) {
  const std::string path = (dir_ / "截图.png").string();
  EXPECT_FALSE(PosixFileExists(path));
  const std::vector<uint8_t> first = {1, 2, 3, 4, 5};
  ASSERT_TRUE(PosixWriteFileAtomic(path, first));
  EXPECT_TRUE(PosixFileExists(path));
  EXPECT_EQ(Read(path), std::string("\x01\x02\x03\x04\x05"));
  ::chmod(path.c_str(), 0640);
  const std::vector<uint8_t> second = {9};
  ASSERT_TRUE(PosixWriteFileAtomic(path, second));
  EXPECT_EQ(Read(path), std::string("\x09"));
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(Entries(), 1u);  // no temporary file left behind
}

TEST_F(PosixFilesTest, FailuresSayWhyAndLeaveNothingBehind) {
  const std::vector<uint8_t> bytes = {1};
  const HostResult noName = PosixWriteFileAtomic("", bytes);
  EXPECT_FALSE(noName);
  EXPECT_EQ(noName.message.rfind("X11: ", 0), 0u);
  const HostResult noDir = PosixWriteFileAtomic((dir_ / "missing" / "a.bmp").string(), bytes, "Headless");
  EXPECT_FALSE(noDir);
  EXPECT_EQ(noDir.message.rfind("Headless: ", 0), 0u);
  // A directory in the way: the rename fails and the temporary file goes.
  fs::create_directories(dir_ / "taken" / "inner");
  EXPECT_FALSE(PosixWriteFileAtomic((dir_ / "taken").string(), bytes));
  EXPECT_EQ(Entries(), 1u);
}

}  // namespace
}  // namespace rc
