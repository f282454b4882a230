// regioncap-x11-probe: runs a region-capture command on the current X display
// and drives it as a user would, through XTest: hover, a rubber-band drag, a
// move and a resize of the selection, then Escape. It prints one JSON object:
// exec to dimmed overlay, the program's and the X server's CPU per pointer
// move, peak resident memory, and the time of one 4K-frame memcpy taken in
// the same run, since absolute times drift on shared machines.
//
//   regioncap-x11-probe [--moves N] [--interval-ms MS] [--server-pid PID] -- COMMAND [ARG...]
//
// Any command works: point it at another tool to compare.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "proc_stats.h"
#include "x_driver.h"

namespace rc::probe {
namespace {

using Clock = std::chrono::steady_clock;

struct Options {
  int moves = 200;
  int intervalMs = 8;
  pid_t serverPid = 0;
  std::vector<char*> command;
};

struct PhaseCost {
  const char* name;
  double programMs = 0;
  double serverMs = 0;
};

constexpr unsigned long kDesktopGrey = 0x808080;

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

double MsSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

// The median of seven copies of one 3840 x 2160 32-bit frame between
// buffers already backed by memory.
double FrameMemcpyMs() {
  const size_t bytes = size_t{3840} * 2160 * 4;
  std::vector<unsigned char> from(bytes, 1), to(bytes, 0);
  std::vector<double> times;
  for (int i = 0; i < 7; ++i) {
    from[i] = static_cast<unsigned char>(i);
    const auto start = Clock::now();
    std::memcpy(to.data(), from.data(), bytes);
    times.push_back(MsSince(start));
    if (to[i] != from[i]) std::abort();
  }
  std::sort(times.begin(), times.end());
  return times[3];
}

pid_t Launch(const Options& o) {
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(o.command[0], o.command.data());
    std::fprintf(stderr, "probe: cannot run %s\n", o.command[0]);
    _exit(127);
  }
  return pid;
}

// Time from `start` until the probed root pixel leaves the desktop's grey;
// negative when it never does or the program ends first.
double WaitForOverlay(XDriver& x, pid_t pid, Clock::time_point start) {
  const Pt probe{x.Width() * 9 / 10, x.Height() * 9 / 10};
  while (MsSince(start) < 10000) {
    if (x.RootPixel(probe) != kDesktopGrey) return MsSince(start);
    if (waitpid(pid, nullptr, WNOHANG) == pid) return -1;
    // Polling without a pause would keep the server answering and one of
    // a small machine's cores busy while the command starts, slowing the
    // very start-up it times; a quarter millisecond costs that much
    // resolution at most.
    std::this_thread::sleep_for(std::chrono::microseconds(250));
  }
  return -1;
}

// Moves the pointer in `moves` even steps from `from` to `to`.
void Glide(XDriver& x, Pt from, Pt to, const Options& o) {
  for (int i = 1; i <= o.moves; ++i) {
    x.MoveTo({from.x + (to.x - from.x) * i / o.moves, from.y + (to.y - from.y) * i / o.moves});
    Sleep(o.intervalMs);
  }
}

// Hovering: small steps back and forth, as a hand aims.
void Hover(XDriver& x, Pt from, const Options& o) {
  for (int i = 1; i <= o.moves; ++i) {
    const int phase = i % 40 < 20 ? i % 20 : 20 - i % 20;
    x.MoveTo({from.x + 3 * phase, from.y + 2 * phase + i / 40});
    Sleep(o.intervalMs);
  }
}

// A press at `from`, a glide to `to`, a release.
void Drag(XDriver& x, Pt from, Pt to, const Options& o) {
  x.MoveTo(from);
  Sleep(50);
  x.Button(true);
  Sleep(o.intervalMs);
  Glide(x, from, to, o);
  x.Button(false);
}

template <typename Gesture>
PhaseCost Measure(const char* name, pid_t pid, pid_t server, const Options& o, Gesture gesture) {
  const double program0 = CpuMs(pid), server0 = server > 0 ? CpuMs(server) : 0;
  gesture();
  Sleep(150);
  const double program1 = CpuMs(pid), server1 = server > 0 ? CpuMs(server) : 0;
  return {name, (program1 - program0) / o.moves, (server1 - server0) / o.moves};
}

std::vector<PhaseCost> DriveSession(XDriver& x, pid_t pid, pid_t server, const Options& o) {
  const int w = x.Width(), h = x.Height();
  const Pt a{w / 4, h / 4}, b{w * 3 / 5, h * 13 / 20};
  const Pt shift{-w / 10, -h / 10};
  const Pt centre{(a.x + b.x) / 2, (a.y + b.y) / 2};
  const Pt corner{b.x + shift.x - 1, b.y + shift.y - 1};
  std::vector<PhaseCost> costs;
  costs.push_back(Measure("hover", pid, server, o, [&] { Hover(x, {w / 5, h / 5}, o); }));
  costs.push_back(Measure("drag", pid, server, o, [&] { Drag(x, a, b, o); }));
  costs.push_back(Measure("move", pid, server, o, [&] { Drag(x, centre, {centre.x + shift.x, centre.y + shift.y}, o); }));
  costs.push_back(Measure("resize", pid, server, o, [&] { Drag(x, corner, {corner.x + w / 10, corner.y + h / 10}, o); }));
  return costs;
}

void EndProgram(XDriver& x, pid_t pid) {
  x.TapEscape();
  for (int i = 0; i < 300; ++i) {
    if (waitpid(pid, nullptr, WNOHANG) == pid) return;
    Sleep(10);
  }
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

std::string Quoted(const std::vector<char*>& command) {
  std::string s;
  for (char* arg : command) {
    if (arg == nullptr) break;
    if (!s.empty()) s += ' ';
    for (const char* c = arg; *c != '\0'; ++c) {
      if (*c == '"' || *c == '\\') s += '\\';
      s += *c;
    }
  }
  return s;
}

void Report(const XDriver& x, const Options& o, double memcpyMs, double overlayMs, double rssMiB,
            const std::vector<PhaseCost>& costs) {
  std::printf("{\"command\": \"%s\", \"screen\": \"%dx%d\", \"moves_per_phase\": %d, \"interval_ms\": %d,\n",
              Quoted(o.command).c_str(), x.Width(), x.Height(), o.moves, o.intervalMs);
  std::printf(" \"memcpy_4k_frame_ms\": %.3f, \"exec_to_overlay_ms\": %.2f, \"exec_to_overlay_per_memcpy\": %.2f,\n",
              memcpyMs, overlayMs, overlayMs / memcpyMs);
  std::printf(" \"peak_rss_mib\": %.1f, \"phases\": {", rssMiB);
  for (size_t i = 0; i < costs.size(); ++i) {
    const PhaseCost& c = costs[i];
    std::printf("%s\n  \"%s\": {\"program_cpu_ms_per_move\": %.4f, \"server_cpu_ms_per_move\": %.4f, "
                "\"program_per_memcpy\": %.4f, \"server_per_memcpy\": %.4f}",
                i == 0 ? "" : ",", c.name, c.programMs, c.serverMs, c.programMs / memcpyMs, c.serverMs / memcpyMs);
  }
  std::printf("}}\n");
}

bool ParseArgs(int argc, char** argv, Options& o) {
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; i += 2) {
    if (i + 1 >= argc) return false;
    const int value = std::atoi(argv[i + 1]);
    if (std::strcmp(argv[i], "--moves") == 0 && value > 0) o.moves = value;
    else if (std::strcmp(argv[i], "--interval-ms") == 0 && value >= 0) o.intervalMs = value;
    else if (std::strcmp(argv[i], "--server-pid") == 0 && value > 0) o.serverPid = value;
    else return false;
  }
  for (++i; i < argc; ++i) o.command.push_back(argv[i]);
  o.command.push_back(nullptr);
  return o.command.size() > 1;
}

int Run(const Options& o) {
  XDriver x;
  if (!x.Open()) return 1;
  const char* display = std::getenv("DISPLAY");
  const pid_t server = o.serverPid > 0 ? o.serverPid : XServerPid(display != nullptr ? display : "");
  if (server == 0) std::fprintf(stderr, "probe: cannot find the X server's process; its CPU reads 0\n");
  const double memcpyMs = FrameMemcpyMs();
  x.PaintRoot(kDesktopGrey);
  x.MoveTo({x.Width() / 5, x.Height() / 5});
  const auto start = Clock::now();
  const pid_t pid = Launch(o);
  const double overlayMs = WaitForOverlay(x, pid, start);
  if (overlayMs < 0) {
    std::fprintf(stderr, "probe: the command showed no dimmed overlay within 10 s\n");
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return 1;
  }
  Sleep(300);  // grabs and the first frame settle
  const std::vector<PhaseCost> costs = DriveSession(x, pid, server, o);
  const double rss = PeakRssMiB(pid);
  EndProgram(x, pid);
  Report(x, o, memcpyMs, overlayMs, rss, costs);
  return 0;
}

}  // namespace
}  // namespace rc::probe

int main(int argc, char** argv) {
  rc::probe::Options options;
  if (!rc::probe::ParseArgs(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: regioncap-x11-probe [--moves N] [--interval-ms MS] [--server-pid PID] -- COMMAND [ARG...]\n");
    return 2;
  }
  return rc::probe::Run(options);
}
