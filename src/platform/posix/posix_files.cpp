#include "platform/posix/posix_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace rc {

namespace {

std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file gets the usual 0666 less the umask; a replaced one keeps its mode.
mode_t ModeFor(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// The rename itself is only durable once the directory is on disk too.
void SyncDirectory(const std::string& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

HostResult Failure(std::string_view platform, const std::string& what, const std::string& path, int err) {
  return HostResult::Fail(std::string(platform) + ": cannot " + what + " \"" + path + "\": " + std::strerror(err));
}

}  // namespace

bool PosixFileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

HostResult PosixWriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes,
                                std::string_view platform) {
  if (path.empty()) return HostResult::Fail(std::string(platform) + ": no file name given");
  const std::string dir = DirectoryOf(path);
  std::string temp = dir + "/.regioncap-XXXXXX";
  std::vector<char> name(temp.begin(), temp.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) return Failure(platform, "create a file in", dir, errno);
  temp = name.data();
  const bool written = ::fchmod(fd, ModeFor(path)) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  const int err = errno;
  if (::close(fd) != 0 || !written) {
    ::unlink(temp.c_str());
    return Failure(platform, "write", path, written ? errno : err);
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int renameErr = errno;
    ::unlink(temp.c_str());
    return Failure(platform, "replace", path, renameErr);
  }
  SyncDirectory(dir);
  return HostResult::Ok();
}

}  // namespace rc
