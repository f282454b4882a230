#include "platform/x11/x11_resident.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/launch.h"
#include "app/resident.h"
#include "app/run.h"
#include "platform/x11/x11_display.h"
#include "platform/x11/x11_host.h"
#include "platform/x11/x11_hotkey_grab.h"
#include "platform/x11/x11_instance_lock.h"

namespace rc {

namespace {

constexpr int kQuitTimeoutMs = 3000;

// A child's end wakes the loop through this pipe.
int g_childPipe[2] = {-1, -1};

void OnChildEnded(int) {
  const int saved = errno;
  [[maybe_unused]] const ssize_t n = write(g_childPipe[1], "c", 1);
  errno = saved;
}

bool WatchChildren() {
  if (pipe2(g_childPipe, O_CLOEXEC | O_NONBLOCK) != 0) return false;
  struct sigaction action{};
  action.sa_handler = OnChildEnded;
  action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
  sigemptyset(&action.sa_mask);
  return sigaction(SIGCHLD, &action, nullptr) == 0;
}

void Say(const std::string& line) { std::fprintf(stderr, "regioncap: %s\n", line.c_str()); }

// Done with a host of its own, which goes away afterwards: the child opens
// a connection of its own.
void PrepareOnce() {
  X11Host host(X11Host::Use::kSetUpOnly);
  if (!host.Connected()) return;
  SetHost(&host);
  PrepareForCaptures();
  SetHost(nullptr);
}

// A waiting capture keeps nothing of the resident loop: not its X
// connection (which only the resident process may speak on), not its child
// watch.
void LeaveResidentLoop(int residentConnection) {
  signal(SIGCHLD, SIG_DFL);
  close(g_childPipe[0]);
  close(g_childPipe[1]);
  close(residentConnection);
}

// The waiting capture: connected, its memory in place, it runs the capture
// the moment `go` delivers a byte, and ends quietly when `go` closes. The
// settings file is read as it gets ready, so a change shows from the next
// capture on.
[[noreturn]] void RunStandby(int go, int residentConnection, const CommandLineOptions& options) {
  LeaveResidentLoop(residentConnection);
  X11Host host;
  if (!host.Connected()) {
    Say(host.ConnectError());
    _exit(1);
  }
  SetHost(&host);
  host.PrepareCapture();
  const CaptureOptions capture = CaptureOptionsFor(options);
  char byte = 0;
  if (read(go, &byte, 1) != 1) _exit(0);
  close(go);
  RunCapture(capture);
  host.EndProgram(0);
}

class Resident {
 public:
  Resident(X11Display& display, const CommandLineOptions& options)
      : display_(display), options_(options), grab_(display.Dpy(), display.Root()) {}
  ~Resident();
  int Start(const Hotkey& hotkey);
  // Forks the capture that waits for the next press, if none waits.
  void StartStandby();
  void Run();

 private:
  struct Standby {
    pid_t pid = 0;
    int go = -1;
  };

  void Handle(const XEvent& event);
  void StartCapture(const XKeyEvent& press);
  void ReapCaptures();
  void WaitForActivity();

  X11Display& display_;
  const CommandLineOptions& options_;
  Window window_ = None;
  X11HotkeyGrab grab_;
  Standby standby_;
  pid_t capture_ = 0;
  bool quit_ = false;
};

// Closing the waiting capture's pipe ends it.
Resident::~Resident() {
  if (standby_.go >= 0) close(standby_.go);
  grab_.Release();
  if (window_ != None) XDestroyWindow(display_.Dpy(), window_);
  XFlush(display_.Dpy());
}

// The selection comes first: a second resident must say that one runs, not
// that the first one's grab makes the shortcut taken.
int Resident::Start(const Hotkey& hotkey) {
  Display* dpy = display_.Dpy();
  window_ = XCreateSimpleWindow(dpy, display_.Root(), -1, -1, 1, 1, 0, 0, 0);
  XStoreName(dpy, window_, "regioncap resident");
  if (!TakeResidentSelection(dpy, display_.ScreenNumber(), window_)) {
    Say(ResidentAlreadyRunningText());
    return 1;
  }
  std::string error;
  if (!grab_.Grab(hotkey, error)) {
    Say(error + "; choose another `hotkey` in the settings file");
    return 1;
  }
  return 0;
}

void Resident::StartStandby() {
  if (standby_.pid > 0) return;
  int go[2];
  if (pipe2(go, O_CLOEXEC) != 0) return;
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    close(go[1]);
    RunStandby(go[0], ConnectionNumber(display_.Dpy()), options_);
  }
  close(go[0]);
  if (child < 0) {
    Say(std::string("cannot start a capture: ") + std::strerror(errno));
    close(go[1]);
    return;
  }
  standby_ = {child, go[1]};
}

// One capture at a time: a press while one runs (before it grabbed the
// keyboard) is dropped.
void Resident::StartCapture(const XKeyEvent& press) {
  Display* dpy = display_.Dpy();
  // The press made the passive grab active; the capture needs the keyboard.
  XUngrabKeyboard(dpy, press.time);
  XFlush(dpy);
  if (capture_ > 0) return;
  StartStandby();
  if (standby_.pid <= 0) return;
  [[maybe_unused]] const ssize_t n = write(standby_.go, "g", 1);
  close(standby_.go);
  capture_ = standby_.pid;
  standby_ = {};
}

// The next capture gets ready once the last one has ended, so that getting
// ready never slows a capture down.
void Resident::ReapCaptures() {
  char drain[64];
  while (read(g_childPipe[0], drain, sizeof drain) > 0) {
  }
  int status = 0;
  for (pid_t pid; (pid = waitpid(-1, &status, WNOHANG)) > 0;) {
    if (WIFSIGNALED(status)) Say("a capture ended abnormally (signal " + std::to_string(WTERMSIG(status)) + ")");
    if (pid == standby_.pid) {
      close(standby_.go);
      standby_ = {};
    }
    if (pid != capture_) continue;
    capture_ = 0;
    if (!quit_) StartStandby();
  }
}

void Resident::Handle(const XEvent& event) {
  if (event.type == KeyPress && grab_.Matches(event.xkey)) StartCapture(event.xkey);
  if (event.type == ClientMessage && event.xclient.message_type == ResidentQuitMessage(display_.Dpy())) quit_ = true;
  if (event.type == SelectionClear) {
    Say("another resident regioncap took over");
    quit_ = true;
  }
}

void Resident::WaitForActivity() {
  pollfd fds[2] = {{ConnectionNumber(display_.Dpy()), POLLIN, 0}, {g_childPipe[0], POLLIN, 0}};
  poll(fds, 2, -1);
  if (fds[1].revents & POLLIN) ReapCaptures();
}

void Resident::Run() {
  Display* dpy = display_.Dpy();
  while (!quit_) {
    while (!quit_ && XPending(dpy) > 0) {
      XEvent event;
      XNextEvent(dpy, &event);
      Handle(event);
    }
    if (!quit_) WaitForActivity();
  }
}

}  // namespace

int RunResidentX11(const Hotkey& hotkey, const CommandLineOptions& options) {
  std::string error;
  std::unique_ptr<X11Display> display = X11Display::Open(error);
  if (!display) {
    Say(error);
    return 1;
  }
  if (!WatchChildren()) {
    Say(std::string("cannot watch captures: ") + std::strerror(errno));
    return 1;
  }
  Resident resident(*display, options);
  if (const int code = resident.Start(hotkey); code != 0) return code;
  PrepareOnce();
  resident.StartStandby();
  Say(ResidentReadyText(hotkey));
  resident.Run();
  return 0;
}

int QuitResidentX11() {
  std::string error;
  std::unique_ptr<X11Display> display = X11Display::Open(error);
  if (!display) {
    Say(error);
    return 1;
  }
  if (ResidentOwner(display->Dpy(), display->ScreenNumber()) == None) {
    Say(NoResidentText());
    return 1;
  }
  if (AskResidentToQuit(display->Dpy(), display->ScreenNumber(), kQuitTimeoutMs)) return 0;
  Say("the resident regioncap did not end");
  return 1;
}

}  // namespace rc
