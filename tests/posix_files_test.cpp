#include "platform/posix/posix_files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

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

// A link stays a link: the file it names gets the picture, in its own
// folder, whether it exists yet or not.
TEST_F(PosixFilesTest, LinksAreFollowedToTheirTargets) {
  fs::create_directories(dir_ / "real");
  const std::vector<uint8_t> bytes = {7, 8};
  fs::create_symlink("real/target.png", dir_ / "link.png");
  ASSERT_TRUE(PosixWriteFileAtomic((dir_ / "link.png").string(), bytes));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.png"));
  EXPECT_EQ(Read(dir_ / "real" / "target.png"), std::string("\x07\x08"));
  ::chmod((dir_ / "real" / "target.png").c_str(), 0604);
  fs::create_symlink(dir_ / "link.png", dir_ / "chain.png");  // absolute, to a link
  ASSERT_TRUE(PosixWriteFileAtomic((dir_ / "chain.png").string(), std::vector<uint8_t>{9}));
  EXPECT_EQ(Read(dir_ / "real" / "target.png"), std::string("\x09"));
  struct stat st {};
  ASSERT_EQ(::stat((dir_ / "real" / "target.png").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0604u);
  EXPECT_EQ(Entries(), 3u);
  EXPECT_EQ(static_cast<size_t>(std::distance(fs::directory_iterator(dir_ / "real"), {})), 1u);
  fs::create_symlink("loop.png", dir_ / "loop.png");
  EXPECT_FALSE(PosixWriteFileAtomic((dir_ / "loop.png").string(), bytes));
}

TEST_F(PosixFilesTest, AReadOnlyFileIsNotReplaced) {
  const std::string path = (dir_ / "kept.png").string();
  ASSERT_TRUE(PosixWriteFileAtomic(path, std::vector<uint8_t>{1, 2, 3}));
  ::chmod(path.c_str(), 0444);
  const HostResult result = PosixWriteFileAtomic(path, std::vector<uint8_t>{4});
  EXPECT_FALSE(result);
  EXPECT_EQ(result.file, FileFailure::ReadOnly);
  EXPECT_EQ(Read(path).size(), 3u);
  EXPECT_EQ(Entries(), 1u);
}

// The temporary file's name is no longer than the final one's folder plus
// a short name, so any path the system accepts can be saved.
TEST_F(PosixFilesTest, APathNearTheLimitIsSaved) {
  fs::path deep = dir_;
  const size_t want = PATH_MAX - 1 - std::string("/a.png").size();
  while (deep.string().size() + 201 <= want) deep /= std::string(200, 'd');
  deep /= std::string(want - deep.string().size() - 1, 'e');
  fs::create_directories(deep);
  const std::string path = (deep / "a.png").string();
  ASSERT_EQ(path.size(), static_cast<size_t>(PATH_MAX - 1));
  EXPECT_TRUE(PosixWriteFileAtomic(path, std::vector<uint8_t>{1}));
  EXPECT_TRUE(PosixFileExists(path));
}

// Each failure names its kind, which the notice puts in the user's words.
TEST_F(PosixFilesTest, FailuresNameTheirKind) {
  const std::vector<uint8_t> bytes = {1};
  EXPECT_EQ(PosixWriteFileAtomic((dir_ / "missing" / "a.png").string(), bytes).file, FileFailure::NoFolder);
  EXPECT_EQ(PosixWriteFileAtomic((dir_ / std::string(256, 'n')).string(), bytes).file, FileFailure::NameTooLong);
  fs::create_directories(dir_ / "taken");
  EXPECT_EQ(PosixWriteFileAtomic((dir_ / "taken").string(), bytes).file, FileFailure::FolderInTheWay);
  if (::geteuid() != 0) {  // the superuser writes into any folder
    fs::create_directories(dir_ / "locked");
    ::chmod((dir_ / "locked").c_str(), 0555);
    EXPECT_EQ(PosixWriteFileAtomic((dir_ / "locked" / "a.png").string(), bytes).file, FileFailure::NoPermission);
  }
  EXPECT_EQ(PosixFileFailure(ENOSPC), FileFailure::DiskFull);
  EXPECT_EQ(PosixFileFailure(EDQUOT), FileFailure::DiskFull);
  EXPECT_EQ(PosixFileFailure(EROFS), FileFailure::ReadOnly);
  EXPECT_EQ(PosixFileFailure(EIO), FileFailure::Other);
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
