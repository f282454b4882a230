#include "platform/posix/posix_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <utility>

namespace rc {

namespace {

constexpr int kMaxLinkHops = 40;

// The directory part to open relative to the current one: "." for a bare
// name, "/" for a name in the root.
std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string LeafOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

FileFailure PosixFileFailure(int err) {
  switch (err) {
    case EROFS: return FileFailure::ReadOnly;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return FileFailure::DiskFull;
    case ENAMETOOLONG: return FileFailure::NameTooLong;
    case EACCES:
    case EPERM: return FileFailure::NoPermission;
    case ENOENT:
    case ENOTDIR: return FileFailure::NoFolder;
    case EISDIR: return FileFailure::FolderInTheWay;
    default: return FileFailure::Other;
  }
}

namespace {

HostResult Failure(std::string_view platform, const std::string& what, const std::string& path, int err) {
  return HostResult::FailFile(std::string(platform) + ": cannot " + what + " \"" + path + "\": " + std::strerror(err),
                              PosixFileFailure(err));
}

// A directory opened for the names in it; closed when it goes.
class Folder {
 public:
  explicit Folder(int fd) : fd_(fd) {}
  Folder(Folder&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  Folder& operator=(Folder&& other) noexcept {
    std::swap(fd_, other.fd_);
    return *this;
  }
  ~Folder() {
    if (fd_ >= 0) ::close(fd_);
  }
  int Fd() const { return fd_; }
  bool Open() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// Only for the names in it, so a folder the user may enter but not list
// works too.
Folder OpenFolder(int at, const std::string& path) {
  return Folder(::openat(at, path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

// The rename itself is only durable once the folder is on disk too.
void SyncFolder(const Folder& folder) {
  const int fd = ::openat(folder.Fd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Where the picture goes: a symbolic link is followed, so the link stays a
// link and the file it names gets the picture. Every step is relative to
// the folder before, so no step needs more than one name's length.
// Returns 0 or the error met.
int FollowLinks(Folder& folder, std::string& leaf) {
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat st {};
    if (::fstatat(folder.Fd(), leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISLNK(st.st_mode)) return 0;
    char target[PATH_MAX];
    const ssize_t n = ::readlinkat(folder.Fd(), leaf.c_str(), target, sizeof target - 1);
    if (n < 0) return errno;
    const std::string link(target, static_cast<size_t>(n));
    Folder next = OpenFolder(folder.Fd(), DirectoryOf(link));
    if (!next.Open()) return errno;
    folder = std::move(next);
    leaf = LeafOf(link);
    if (leaf.empty()) return EISDIR;
  }
  return ELOOP;
}

// Not writable by the user; for the superuser, who may write anything, a
// file nobody may write counts as read-only too.
bool IsReadOnly(int folder, const std::string& leaf, const struct stat& st) {
  if (::faccessat(folder, leaf.c_str(), W_OK, AT_EACCESS) != 0) return errno == EACCES || errno == EPERM || errno == EROFS;
  return ::geteuid() == 0 && (st.st_mode & 0222) == 0;
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

// A hidden name no other save picks at the same time.
int CreateTemporary(int folder, std::string& name) {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  unsigned long seed = static_cast<unsigned long>(now.tv_nsec) ^ (static_cast<unsigned long>(::getpid()) << 16);
  for (int attempt = 0; attempt < 100; ++attempt) {
    seed = seed * 6364136223846793005UL + 1442695040888963407UL;
    name = ".regioncap-" + std::to_string((seed >> 33) % 1000000000UL);
    const int fd = ::openat(folder, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

// The new file takes the old one's permissions and, where allowed (only
// the superuser may give a file away), its owner.
bool TakeOver(int fd, const struct stat* old) {
  if (old == nullptr) return true;
  [[maybe_unused]] const int owned = ::fchown(fd, old->st_uid, old->st_gid);
  return ::fchmod(fd, old->st_mode & 07777) == 0;
}

struct Place {
  Folder folder{-1};
  std::string leaf;
  bool exists = false;
  struct stat old {};
};

HostResult WriteInto(const Place& place, const std::string& path, std::span<const uint8_t> bytes,
                     std::string_view platform) {
  std::string temp;
  const int fd = CreateTemporary(place.folder.Fd(), temp);
  if (fd < 0) return Failure(platform, "create a file beside", path, errno);
  const bool written = TakeOver(fd, place.exists ? &place.old : nullptr) && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  const int err = errno;
  if (::close(fd) != 0 || !written) {
    const int closeErr = errno;
    ::unlinkat(place.folder.Fd(), temp.c_str(), 0);
    return Failure(platform, "write", path, written ? closeErr : err);
  }
  if (::renameat(place.folder.Fd(), temp.c_str(), place.folder.Fd(), place.leaf.c_str()) != 0) {
    const int renameErr = errno;
    ::unlinkat(place.folder.Fd(), temp.c_str(), 0);
    return Failure(platform, "replace", path, renameErr);
  }
  SyncFolder(place.folder);
  return HostResult::Ok();
}

HostResult FindPlace(const std::string& path, Place& place, std::string_view platform) {
  place.leaf = LeafOf(path);
  if (place.leaf.empty() || place.leaf == "." || place.leaf == "..") return Failure(platform, "write", path, EISDIR);
  if (place.leaf.size() > NAME_MAX) return Failure(platform, "write", path, ENAMETOOLONG);
  place.folder = OpenFolder(AT_FDCWD, DirectoryOf(path));
  if (!place.folder.Open()) return Failure(platform, "open the folder of", path, errno);
  if (const int err = FollowLinks(place.folder, place.leaf); err != 0)
    return Failure(platform, "follow the link", path, err);
  place.exists = ::fstatat(place.folder.Fd(), place.leaf.c_str(), &place.old, 0) == 0;
  if (place.exists && S_ISDIR(place.old.st_mode)) return Failure(platform, "write", path, EISDIR);
  if (place.exists && IsReadOnly(place.folder.Fd(), place.leaf, place.old))
    return HostResult::FailFile(std::string(platform) + ": \"" + path + "\" is read-only", FileFailure::ReadOnly);
  return HostResult::Ok();
}

}  // namespace

bool PosixFileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool PosixDirectoryExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

HostResult PosixWriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes,
                                std::string_view platform) {
  if (path.empty()) return HostResult::Fail(std::string(platform) + ": no file name given");
  Place place;
  const HostResult found = FindPlace(path, place, platform);
  if (!found) return found;
  return WriteInto(place, path, bytes, platform);
}


std::optional<std::vector<uint8_t>> PosixReadSmallFile(const std::string& path, size_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  std::optional<std::vector<uint8_t>> bytes;
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && static_cast<uintmax_t>(st.st_size) <= maxBytes) {
    bytes.emplace(static_cast<size_t>(st.st_size));
    size_t done = 0;
    while (done < bytes->size()) {
      const ssize_t n = ::read(fd, bytes->data() + done, bytes->size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
    bytes->resize(done);
  }
  ::close(fd);
  return bytes;
}

HostResult PosixMakeDirectories(const std::string& path, std::string_view platform) {
  if (path.empty()) return HostResult::Fail(std::string(platform) + ": no folder named");
  for (size_t at = path.find('/', 1);; at = path.find('/', at + 1)) {
    const std::string part = path.substr(0, at);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return Failure(platform, "create", part, errno);
    if (at == std::string::npos) break;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return Failure(platform, "use", path, ENOTDIR);
  return HostResult::Ok();
}

std::string PosixSettingsDirectory() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/regioncap";
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') return std::string(home) + "/.config/regioncap";
  return {};
}

}  // namespace rc
