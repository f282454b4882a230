#include "platform/x11/x11_clipboard_owner.h"

#include <X11/Xlib.h>
#include <dirent.h>
#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/shm.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <optional>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "gfx/blend.h"
#include "platform/posix/posix_memory.h"
#include "platform/x11/x11_selection_server.h"

extern char** environ;

namespace rc {

namespace {

// The owner finds the picture on one descriptor and reports on the other.
constexpr int kPictureFd = 3;
constexpr int kReportFd = 4;
constexpr const char* kOwnerVariable = "REGIONCAP_CLIPBOARD_OWNER=1";
constexpr int kReportTimeoutMs = 5000;

bool WriteAll(int fd, const void* data, size_t size, off_t at) {
  const auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = pwrite(fd, bytes, size, at);
    if (n <= 0) return false;
    bytes += n, at += n, size -= static_cast<size_t>(n);
  }
  return true;
}

bool ReadAll(int fd, void* data, size_t size, off_t at) {
  auto* bytes = static_cast<uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = pread(fd, bytes, size, at);
    if (n <= 0) return false;
    bytes += n, at += n, size -= static_cast<size_t>(n);
  }
  return true;
}

// The picture in an anonymous memory file: width, height, then the rows.
int PictureFile(const Canvas& picture) {
  const int fd = memfd_create("regioncap-clipboard", MFD_CLOEXEC);
  if (fd < 0) return -1;
  const int32_t size[2] = {picture.Width(), picture.Height()};
  const size_t bytes = static_cast<size_t>(picture.Width()) * picture.Height() * sizeof(Pixel);
  if (WriteAll(fd, size, sizeof size, 0) && WriteAll(fd, picture.Data(), bytes, sizeof size)) return fd;
  close(fd);
  return -1;
}

// Built before the fork: the child only rearranges descriptors and execs.
std::vector<char*> OwnerEnvironment() {
  std::vector<char*> env;
  for (char** e = environ; *e != nullptr; ++e) env.push_back(*e);
  env.push_back(const_cast<char*>(kOwnerVariable));
  env.push_back(nullptr);
  return env;
}

// NOTE: the child must keep nothing of ours alive: not the grabs' X
// connection, not a test's output pipes, not our terminal's signals.
[[noreturn]] void ExecOwner(int pictureFd, int reportFd, char** env) {
  const int picture = fcntl(pictureFd, F_DUPFD, 10);
  const int report = fcntl(reportFd, F_DUPFD, 10);
  if (picture < 0 || report < 0 || dup2(picture, kPictureFd) < 0 || dup2(report, kReportFd) < 0) _exit(127);
  const int null = open("/dev/null", O_RDWR);
  if (null >= 0) {
    dup2(null, 0), dup2(null, 1), dup2(null, 2);
  }
  close_range(kReportFd + 1, ~0U, 0);
  setsid();
  char name[] = "regioncap";
  char* argv[] = {name, nullptr};
  execve("/proc/self/exe", argv, env);
  _exit(127);
}

// The owner's first byte says whether it owns the selection; a reason may
// follow. Silence or an early end is a failure too.
HostResult AwaitReport(int fd) {
  std::string report;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kReportTimeoutMs);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{fd, POLLIN, 0};
    if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char buffer[256];
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0) break;
    report.append(buffer, static_cast<size_t>(n));
  }
  if (!report.empty() && report[0] == 'Y') return HostResult::Ok();
  if (report.size() > 1) return HostResult::Fail(report.substr(1));
  return HostResult::Fail("X11: the clipboard owner did not answer");
}

void Report(bool owns, const std::string& why) {
  const std::string text = (owns ? "Y" : "N") + why;
  [[maybe_unused]] const ssize_t n = write(kReportFd, text.data(), text.size());
  close(kReportFd);
}

// A text travels as width -1 and its length, then its bytes.
int TextFile(const std::string& text) {
  const int fd = memfd_create("regioncap-clipboard", MFD_CLOEXEC);
  if (fd < 0) return -1;
  const int32_t size[2] = {-1, static_cast<int32_t>(text.size())};
  if (WriteAll(fd, size, sizeof size, 0) && WriteAll(fd, text.data(), text.size(), sizeof size)) return fd;
  close(fd);
  return -1;
}

bool ReadContent(Canvas& picture, std::optional<std::string>& text) {
  int32_t size[2] = {0, 0};
  if (!ReadAll(kPictureFd, size, sizeof size, 0)) return false;
  if (size[0] == -1 && size[1] > 0) {
    text.emplace(static_cast<size_t>(size[1]), '\0');
    return ReadAll(kPictureFd, text->data(), text->size(), sizeof size);
  }
  if (!picture.Create(size[0], size[1])) return false;
  const size_t bytes = static_cast<size_t>(size[0]) * size[1] * sizeof(Pixel);
  return ReadAll(kPictureFd, picture.Data(), bytes, sizeof size);
}

// Requestors that vanish mid-transfer raise errors that concern nobody.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

// A forked copy of a process with other threads may find a lock held
// forever; only a single-threaded process is forked without an exec.
bool SingleThreaded() {
  DIR* tasks = opendir("/proc/self/task");
  if (tasks == nullptr) return false;
  int count = 0;
  while (dirent* entry = readdir(tasks)) {
    if (entry->d_name[0] != '.') ++count;
  }
  closedir(tasks);
  return count == 1;
}

// Every shared-memory segment the program had attached (the ring its
// pictures travel through): the forked owner lets go of each, so a segment
// goes as soon as the program does.
void DetachSharedSegments() {
  for (const MappedRange& segment : MappingsNamed("/SYSV")) shmdt(reinterpret_cast<void*>(segment.start));
}

// The forked owner starts as a copy of the whole program; once it has its
// piece, it keeps that and nothing else: not the snapshot, not the back
// buffer (`programMemory`), not memory the program had freed.
void LetGoOfTheProgram(const Canvas& source, const ProgramMemory& programMemory) {
  DropPages(source.Data(), source.Pixels().size_bytes());
  for (const std::span<const Pixel> buffer : programMemory) DropPages(buffer.data(), buffer.size_bytes());
  DetachSharedSegments();
  malloc_trim(0);
}

// Takes the selection on a connection of its own, reports, and only then
// cuts the picture out of the snapshot it shares with the program until the
// program ends: the program's exit waits for no copying at all.
int ServeShared(const Canvas& source, const Box& area, const ProgramMemory& programMemory, const std::string* text) {
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr) {
    Report(false, "X11: the clipboard owner cannot open the display");
    return 1;
  }
  XSetErrorHandler(IgnoreXError);
  int code = 0;
  {
    X11SelectionServer server(dpy, Canvas{});
    std::string error;
    if (server.TakeOwnership(error)) {
      Report(true, {});
      if (text != nullptr) server.SetText(*text);
      else server.SetPicture(OpaqueCopy(source, area));
      LetGoOfTheProgram(source, programMemory);
      server.Serve();
    } else {
      Report(false, error);
      code = 1;
    }
  }
  XCloseDisplay(dpy);
  return code;
}

// The forked owner keeps only its report pipe: not the program's X
// connection, not a test's output pipes, not our terminal's signals.
[[noreturn]] void RunForkedOwner(const Canvas& source, const Box& area, const ProgramMemory& programMemory,
                                 const std::string* text, int reportFd) {
  if (reportFd != kReportFd && dup2(reportFd, kReportFd) < 0) _exit(127);
  const int null = open("/dev/null", O_RDWR);
  if (null >= 0) {
    dup2(null, 0), dup2(null, 1), dup2(null, 2);
  }
  close_range(3, kReportFd - 1, 0);
  close_range(kReportFd + 1, ~0U, 0);
  setsid();
  signal(SIGPIPE, SIG_IGN);
  _exit(ServeShared(source, area, programMemory, text));
}

HostResult AwaitOwner(pid_t child, int reportFd) {
  const HostResult result =
      child < 0 ? HostResult::Fail("X11: cannot start the clipboard owner") : AwaitReport(reportFd);
  close(reportFd);
  if (!result && child > 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  return result;
}

HostResult ForkClipboardOwner(const Canvas& source, const Box& area, const ProgramMemory& programMemory,
                              const std::string* text = nullptr) {
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return HostResult::Fail("X11: cannot start the clipboard owner");
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) RunForkedOwner(source, area, programMemory, text, report[1]);
  close(report[1]);
  return AwaitOwner(child, report[0]);
}

HostResult ExecClipboardOwner(int contentFd);

}  // namespace

HostResult StartClipboardOwner(const Canvas& source, const Box& area, const ProgramMemory& programMemory) {
  if (area.Empty() || source.Empty()) return HostResult::Fail("X11: nothing to put on the clipboard");
  if (SingleThreaded()) return ForkClipboardOwner(source, area, programMemory);
  const int fd = PictureFile(OpaqueCopy(source, area));
  if (fd < 0) return HostResult::Fail("X11: no memory to hand the picture over");
  return ExecClipboardOwner(fd);
}

HostResult StartClipboardTextOwner(const std::string& utf8) {
  if (utf8.empty()) return HostResult::Fail("X11: nothing to put on the clipboard");
  if (SingleThreaded()) return ForkClipboardOwner(Canvas{}, Box{}, {}, &utf8);
  const int fd = TextFile(utf8);
  if (fd < 0) return HostResult::Fail("X11: no memory to hand the text over");
  return ExecClipboardOwner(fd);
}

namespace {

// With other threads about (GTK's, once the save dialog has been open), the
// owner is this executable started afresh, given a copy of the picture.
HostResult ExecClipboardOwner(int pictureFd) {
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) {
    close(pictureFd);
    return HostResult::Fail("X11: cannot start the clipboard owner");
  }
  std::vector<char*> env = OwnerEnvironment();
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) ExecOwner(pictureFd, report[1], env.data());
  close(pictureFd);
  close(report[1]);
  return AwaitOwner(child, report[0]);
}

}  // namespace

bool IsClipboardOwnerLaunch() {
  const char* value = std::getenv("REGIONCAP_CLIPBOARD_OWNER");
  return value != nullptr && std::strcmp(value, "1") == 0;
}

int RunClipboardOwner() {
  unsetenv("REGIONCAP_CLIPBOARD_OWNER");
  signal(SIGPIPE, SIG_IGN);
  Canvas picture;
  std::optional<std::string> text;
  const bool read = ReadContent(picture, text);
  close(kPictureFd);
  if (!read) {
    Report(false, "X11: the picture did not reach the clipboard owner");
    return 1;
  }
  Display* dpy = XOpenDisplay(nullptr);
  if (dpy == nullptr) {
    Report(false, "X11: the clipboard owner cannot open the display");
    return 1;
  }
  XSetErrorHandler(IgnoreXError);
  int code = 0;
  {
    X11SelectionServer server(dpy, std::move(picture));
    if (text) server.SetText(*text);
    std::string error;
    if (server.TakeOwnership(error)) {
      Report(true, {});
      server.Serve();
    } else {
      Report(false, error);
      code = 1;
    }
  }
  XCloseDisplay(dpy);
  return code;
}

}  // namespace rc
