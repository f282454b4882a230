// hotkey-latency: how long a capture takes to show the dimmed screen, from
// the key press to the first dimmed pixel on screen, for the resident mode
// (regioncap --daemon, started by its shortcut) and for a fresh regioncap
// (started as a new process), side by side on one X display.
//
//   hotkey-latency REGIONCAP [ROUNDS]
//
// Paints the root window one colour, starts the resident regioncap, then
// alternates: press Ctrl+Alt+A through XTest / start a fresh regioncap,
// poll the centre pixel until it shows the dimmed colour, press Escape and
// wait until the desktop is back. Prints one JSON object.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <spawn.h>
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

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr unsigned long kDesktop = 0xC8A078;  // r 200, g 160, b 120
constexpr auto kPollLimit = std::chrono::seconds(10);
constexpr auto kSpacing = std::chrono::milliseconds(700);

// x * 127 / 255 rounded as the program's dimming rounds.
unsigned long Dim(unsigned long c) {
  const unsigned long v = c * 127 + 128;
  return (v + (v >> 8)) >> 8;
}

unsigned long Dimmed(unsigned long rgb) {
  return Dim(rgb >> 16 & 0xFF) << 16 | Dim(rgb >> 8 & 0xFF) << 8 | Dim(rgb & 0xFF);
}

struct Desk {
  Display* dpy;
  Window root;
  int x, y;
  int width, height;

  unsigned long Centre() const {
    XImage* image = XGetImage(dpy, root, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return 0;
    const unsigned long p = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return p;
  }

  // Milliseconds from `start` until the centre shows `rgb`; -1 on timeout.
  double WaitFor(unsigned long rgb, Clock::time_point start) const {
    while (Clock::now() - start < kPollLimit) {
      if (Centre() == rgb) return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return -1;
  }

  void Press(const std::vector<KeySym>& chord) const {
    for (KeySym s : chord) XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, s), True, CurrentTime);
    for (auto s = chord.rbegin(); s != chord.rend(); ++s)
      XTestFakeKeyEvent(dpy, XKeysymToKeycode(dpy, *s), False, CurrentTime);
    XFlush(dpy);
  }
};

void PaintDesktop(const Desk& s) {
  XSetWindowBackground(s.dpy, s.root, kDesktop);
  XClearWindow(s.dpy, s.root);
  XSync(s.dpy, False);
}

pid_t Spawn(const std::string& program, const char* argument, int stderrFd) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stderrFd >= 0) posix_spawn_file_actions_adddup2(&actions, stderrFd, 2);
  char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(argument), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) != 0) pid = -1;
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// Starts the resident regioncap and returns once it says it is ready. Its
// messages go to a file, which (unlike a pipe) stays open for it afterwards.
pid_t StartResident(const std::string& program) {
  char path[] = "/tmp/hotkey-latency-XXXXXX";
  const int log = mkstemp(path);
  if (log < 0) return -1;
  unlink(path);
  const pid_t pid = Spawn(program, "--daemon", log);
  std::string said;
  for (int waited = 0; pid > 0 && said.find("starts a capture") == std::string::npos && waited < 500; ++waited) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    char buffer[512] = {};
    const ssize_t n = pread(log, buffer, sizeof buffer - 1, 0);
    said.assign(buffer, n > 0 ? static_cast<size_t>(n) : 0);
  }
  close(log);
  if (said.find("starts a capture") == std::string::npos) {
    std::fprintf(stderr, "hotkey-latency: the resident regioncap did not start: %s\n", said.c_str());
    return -1;
  }
  return pid;
}

// Ends the capture on screen and waits until the desktop shows again.
bool EndCapture(const Desk& s) {
  s.Press({XK_Escape});
  return s.WaitFor(kDesktop, Clock::now()) >= 0;
}

double ResidentRound(const Desk& s) {
  const Clock::time_point start = Clock::now();
  s.Press({XK_Control_L, XK_Alt_L, XK_a});
  const double ms = s.WaitFor(Dimmed(kDesktop), start);
  return EndCapture(s) ? ms : -1;
}

double FreshRound(const Desk& s, const std::string& program) {
  const Clock::time_point start = Clock::now();
  const pid_t pid = Spawn(program, nullptr, -1);
  if (pid < 0) return -1;
  const double ms = s.WaitFor(Dimmed(kDesktop), start);
  const bool ended = EndCapture(s);
  waitpid(pid, nullptr, 0);
  return ended ? ms : -1;
}

struct Stats {
  double median, min, max;
};

Stats Summarise(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return {v[v.size() / 2], v.front(), v.back()};
}

void PrintJson(const Desk& s, int rounds, const Stats& resident, const Stats& fresh) {
  std::printf("{\"screen\": \"%dx%d\", \"rounds\": %d,\n", s.width, s.height, rounds);
  std::printf(" \"resident_ms\": {\"median\": %.1f, \"min\": %.1f, \"max\": %.1f},\n", resident.median, resident.min,
              resident.max);
  std::printf(" \"fresh_ms\": {\"median\": %.1f, \"min\": %.1f, \"max\": %.1f},\n", fresh.median, fresh.min, fresh.max);
  std::printf(" \"fresh_over_resident\": %.2f}\n", fresh.median / resident.median);
}

int Measure(const Desk& s, const std::string& program, int rounds) {
  const pid_t resident = StartResident(program);
  if (resident < 0) return 1;
  std::vector<double> residentMs, freshMs;
  for (int i = 0; i < rounds; ++i) {
    std::this_thread::sleep_for(kSpacing);
    residentMs.push_back(ResidentRound(s));
    std::this_thread::sleep_for(kSpacing);
    freshMs.push_back(FreshRound(s, program));
    if (residentMs.back() < 0 || freshMs.back() < 0) {
      std::fprintf(stderr, "hotkey-latency: round %d: no dimmed screen within %lld s\n", i + 1,
                   static_cast<long long>(kPollLimit.count()));
      kill(resident, SIGTERM);
      return 1;
    }
  }
  kill(resident, SIGTERM);
  waitpid(resident, nullptr, 0);
  PrintJson(s, rounds, Summarise(residentMs), Summarise(freshMs));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: hotkey-latency REGIONCAP [ROUNDS] (with DISPLAY set)\n");
    return 2;
  }
  Display* dpy = XOpenDisplay(nullptr);
  int event = 0, error = 0, major = 0, minor = 0;
  if (dpy == nullptr || !XTestQueryExtension(dpy, &event, &error, &major, &minor)) {
    std::fprintf(stderr, "hotkey-latency: needs an X display with the XTEST extension\n");
    return 1;
  }
  const int screen = DefaultScreen(dpy);
  const int w = DisplayWidth(dpy, screen), h = DisplayHeight(dpy, screen);
  const Desk s{dpy, RootWindow(dpy, screen), w / 2, h / 2, w, h};
  PaintDesktop(s);
  const int code = Measure(s, argv[1], argc > 2 ? std::max(1, std::atoi(argv[2])) : 10);
  XCloseDisplay(dpy);
  return code;
}
