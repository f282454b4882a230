#include "platform/wayland/wayland_clipboard.h"

#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <string>

#include <wayland-client.h>

#include "platform/posix/posix_memory.h"
#include "wlr-data-control-unstable-v1-client-protocol.h"

namespace rc {

namespace {

constexpr int kReportFd = 3;
constexpr int kReportTimeoutMs = 5000;

class DataControlOwner {
 public:
  explicit DataControlOwner(WaylandClipboardContent content) : content_(std::move(content)) {}
  ~DataControlOwner();
  // Connects and takes the selection; false with `error` set.
  bool Take(std::string& error);
  // Answers pastes until another client takes the clipboard.
  void Serve();

  void Send(const char* mime, int fd) { content_.Send(mime, fd); }
  void Cancelled() { cancelled_ = true; }
  void Bind(wl_registry* registry, uint32_t name, const char* interface, uint32_t version);

 private:
  WaylandClipboardContent content_;
  wl_display* display_ = nullptr;
  wl_seat* seat_ = nullptr;
  zwlr_data_control_manager_v1* manager_ = nullptr;
  zwlr_data_control_device_v1* device_ = nullptr;
  zwlr_data_control_source_v1* source_ = nullptr;
  bool cancelled_ = false;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
  static_cast<DataControlOwner*>(data)->Bind(registry, name, interface, version);
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener = {OnGlobal, OnGlobalRemove};

void OnSend(void* data, zwlr_data_control_source_v1*, const char* mime, int32_t fd) {
  static_cast<DataControlOwner*>(data)->Send(mime, fd);
}
void OnCancelled(void* data, zwlr_data_control_source_v1*) { static_cast<DataControlOwner*>(data)->Cancelled(); }
const zwlr_data_control_source_v1_listener kSourceListener = {OnSend, OnCancelled};

// Offers of other clients are of no interest; they are let go at once.
void OnDataOffer(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1*) {}
void OnSelection(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
  if (offer != nullptr) zwlr_data_control_offer_v1_destroy(offer);
}
void OnFinished(void* data, zwlr_data_control_device_v1*) { static_cast<DataControlOwner*>(data)->Cancelled(); }
void OnPrimary(void*, zwlr_data_control_device_v1*, zwlr_data_control_offer_v1* offer) {
  if (offer != nullptr) zwlr_data_control_offer_v1_destroy(offer);
}
const zwlr_data_control_device_v1_listener kDeviceListener = {OnDataOffer, OnSelection, OnFinished, OnPrimary};

void DataControlOwner::Bind(wl_registry* registry, uint32_t name, const char* interface, uint32_t version) {
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && seat_ == nullptr)
    seat_ = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  else if (std::strcmp(interface, zwlr_data_control_manager_v1_interface.name) == 0)
    manager_ = static_cast<zwlr_data_control_manager_v1*>(
        wl_registry_bind(registry, name, &zwlr_data_control_manager_v1_interface, version >= 2 ? 2 : 1));
}

DataControlOwner::~DataControlOwner() {
  if (display_ != nullptr) wl_display_disconnect(display_);
}

bool DataControlOwner::Take(std::string& error) {
  display_ = wl_display_connect(nullptr);
  if (display_ == nullptr) {
    error = "Wayland: the clipboard owner cannot connect to the compositor";
    return false;
  }
  wl_registry* registry = wl_display_get_registry(display_);
  wl_registry_add_listener(registry, &kRegistryListener, this);
  if (wl_display_roundtrip(display_) < 0 || seat_ == nullptr || manager_ == nullptr) {
    error = "Wayland: the compositor offers no zwlr_data_control_manager_v1 or seat";
    return false;
  }
  device_ = zwlr_data_control_manager_v1_get_data_device(manager_, seat_);
  zwlr_data_control_device_v1_add_listener(device_, &kDeviceListener, this);
  source_ = zwlr_data_control_manager_v1_create_data_source(manager_);
  zwlr_data_control_source_v1_add_listener(source_, &kSourceListener, this);
  for (const std::string& mime : content_.MimeTypes()) zwlr_data_control_source_v1_offer(source_, mime.c_str());
  zwlr_data_control_device_v1_set_selection(device_, source_);
  if (wl_display_roundtrip(display_) < 0 || cancelled_) {
    error = "Wayland: the compositor did not give regioncap the clipboard";
    return false;
  }
  return true;
}

void DataControlOwner::Serve() {
  while (!cancelled_)
    if (wl_display_dispatch(display_) < 0) return;
}

void Report(bool owns, const std::string& why) {
  const std::string text = (owns ? "Y" : "N") + why;
  [[maybe_unused]] const ssize_t n = write(kReportFd, text.data(), text.size());
  close(kReportFd);
}

// The overlay's and the snapshot's wl_shm buffers, found by their name.
void UnmapSharedBuffers() {
  for (const MappedRange& buffer : MappingsNamed("/memfd:regioncap-wayland"))
    munmap(reinterpret_cast<void*>(buffer.start), buffer.end - buffer.start);
}

// The forked owner starts as a copy of the whole program; once it has its
// content, it keeps that and nothing else: not the snapshot, not the back
// buffer, not memory the program had freed.
void LetGoOfTheProgram(const std::vector<std::span<const Pixel>>& programMemory) {
  for (const std::span<const Pixel> buffer : programMemory) DropPages(buffer.data(), buffer.size_bytes());
  UnmapSharedBuffers();
  malloc_trim(0);
}

// The owner keeps only its report pipe: not the program's connection, not
// a test's output pipes, not our terminal's signals.
[[noreturn]] void RunOwner(const std::function<WaylandClipboardContent()>& content,
                           const std::vector<std::span<const Pixel>>& programMemory, int reportFd) {
  if (reportFd != kReportFd && dup2(reportFd, kReportFd) < 0) _exit(127);
  const int null = open("/dev/null", O_RDWR);
  if (null >= 0) dup2(null, 0), dup2(null, 1), dup2(null, 2);
  close_range(kReportFd + 1, ~0U, 0);
  setsid();
  signal(SIGPIPE, SIG_IGN);
  DataControlOwner owner(content());
  LetGoOfTheProgram(programMemory);
  std::string error;
  if (!owner.Take(error)) {
    Report(false, error);
    _exit(1);
  }
  Report(true, {});
  owner.Serve();
  _exit(0);
}

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
  return HostResult::Fail("Wayland: the clipboard owner did not answer");
}

}  // namespace

// NOTE: the owner is forked without an exec, and the copy-on-write snapshot
// is all it reads; it uses only libwayland and the codecs, whose locks no
// other thread of ours holds.
HostResult StartWaylandClipboardOwner(const std::function<WaylandClipboardContent()>& content,
                                      const std::vector<std::span<const Pixel>>& programMemory) {
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return HostResult::Fail("Wayland: cannot start the clipboard owner");
  const pid_t child = fork();
  if (child == 0) RunOwner(content, programMemory, report[1]);
  close(report[1]);
  const HostResult result = child < 0 ? HostResult::Fail("Wayland: cannot start the clipboard owner") : AwaitReport(report[0]);
  close(report[0]);
  if (!result && child > 0) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
  }
  return result;
}

}  // namespace rc
