#include "platform/win32/win32_resident.h"

#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>

#include "app/launch.h"
#include "app/resident.h"
#include "app/run.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_host.h"
#include "platform/win32/win32_hotkey.h"

namespace rc {

namespace {

// Local: one resident regioncap per logon session.
constexpr wchar_t kMutexName[] = L"Local\\regioncap.resident";
constexpr wchar_t kWindowClass[] = L"regioncap.Resident";
constexpr int kHotkeyId = 1;
constexpr DWORD kQuitTimeoutMs = 3000;
constexpr DWORD kQuitPollMs = 20;

void Say(const std::string& line) {
  std::fprintf(stderr, "regioncap: %s\n", line.c_str());
  std::fflush(stderr);
}

// What the resident window's procedure shares with the loop.
struct ResidentRequests {
  bool quit = false;
  Win32Host* capturing = nullptr;  // the host while a capture runs
  bool pressedAfterEnd = false;
};
ResidentRequests g_requests;

// A WM_HOTKEY arrives here only while a capture runs: a press on the
// overlay is dropped, a press while the ended capture takes its window
// down (which can take a moment) is kept for the next capture.
void OnPressDuringCapture() {
  if (g_requests.capturing != nullptr && g_requests.capturing->CaptureEnded()) g_requests.pressedAfterEnd = true;
}

// WM_CLOSE is `regioncap --quit` asking; a capture on screen closes first.
LRESULT CALLBACK ResidentWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HOTKEY && wParam == kHotkeyId) OnPressDuringCapture();
  if (message != WM_CLOSE) return DefWindowProcW(window, message, wParam, lParam);
  g_requests.quit = true;
  if (g_requests.capturing != nullptr) g_requests.capturing->CloseCapture();
  return 0;
}

// The session's named mutex. A killed resident leaves nothing stale: the
// system closes its handle, and the mutex goes with the last handle.
class InstanceLock {
 public:
  InstanceLock() = default;
  ~InstanceLock() {
    if (mutex_ != nullptr) CloseHandle(mutex_);
  }
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;
  bool Take() {
    mutex_ = CreateMutexW(nullptr, FALSE, kMutexName);
    return mutex_ != nullptr && GetLastError() != ERROR_ALREADY_EXISTS;
  }

 private:
  HANDLE mutex_ = nullptr;
};

// A message-only window: never shown, found by `--quit` through its class.
class ResidentWindow {
 public:
  ResidentWindow() = default;
  ~ResidentWindow() {
    if (window_ != nullptr) DestroyWindow(window_);
  }
  ResidentWindow(const ResidentWindow&) = delete;
  ResidentWindow& operator=(const ResidentWindow&) = delete;
  bool Create();
  HWND Handle() const { return window_; }

 private:
  HWND window_ = nullptr;
};

bool ResidentWindow::Create() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = ResidentWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kWindowClass;
  if (RegisterClassExW(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
  window_ = CreateWindowExW(0, kWindowClass, L"regioncap resident", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  return window_ != nullptr;
}

bool RegisterShortcut(HWND window, const Hotkey& hotkey, std::string& error) {
  const std::optional<Win32HotkeyCode> code = Win32HotkeyFor(hotkey);
  if (!code) {
    error = "Win32: the keyboard has no " + hotkey.key + " key";
    return false;
  }
  if (RegisterHotKey(window, kHotkeyId, code->modifiers, code->virtualKey)) return true;
  const DWORD why = GetLastError();
  error = why == ERROR_HOTKEY_ALREADY_REGISTERED
              ? "Win32: " + HotkeyText(hotkey) + " is taken by another program"
              : "Win32: cannot register " + HotkeyText(hotkey) + ": " + SystemErrorText(why);
  return false;
}

// A capture that fails has reported to the user already (its error box);
// the line here is for whoever reads the resident's output.
void RunOneCapture(Win32Host& host, const CommandLineOptions& options) {
  g_requests.capturing = &host;
  try {
    RunCapture(CaptureOptionsFor(options));
  } catch (const Win32CaptureEnded&) {
  } catch (const std::exception& e) {
    Say(std::string("a capture failed: ") + e.what());
  }
  g_requests.capturing = nullptr;
  const int code = host.FinishCapture();
  if (code != kExitOk) Say("a capture ended with exit code " + std::to_string(code) + "; still waiting for the shortcut");
}

void RunCaptures(Win32Host& host, const CommandLineOptions& options) {
  do {
    g_requests.pressedAfterEnd = false;
    RunOneCapture(host, options);
  } while (g_requests.pressedAfterEnd && !g_requests.quit);
}

void Listen(Win32Host& host, const CommandLineOptions& options) {
  MSG msg{};
  while (!g_requests.quit && GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_HOTKEY && msg.wParam == kHotkeyId) {
      RunCaptures(host, options);
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// The mutex comes first: a second resident must say that one runs, not
// that the first one's registration makes the shortcut taken.
int Listening(const Hotkey& hotkey, const CommandLineOptions& options) {
  ResidentWindow window;
  if (!window.Create()) {
    Say(Win32Failure("cannot create the resident window").message);
    return 1;
  }
  std::string error;
  if (!RegisterShortcut(window.Handle(), hotkey, error)) {
    Say(error + "; choose another `hotkey` in the settings file");
    return 1;
  }
  Win32Host host;
  host.ReturnFromCaptures();
  SetHost(&host);
  PrepareForCaptures();
  Say(ResidentReadyText(hotkey));
  Listen(host, options);
  UnregisterHotKey(window.Handle(), kHotkeyId);
  SetHost(nullptr);
  return 0;
}

// Waits for the resident's process to end, or at least its window.
bool WaitForEnd(HWND window, HANDLE process) {
  if (process != nullptr) return WaitForSingleObject(process, kQuitTimeoutMs) == WAIT_OBJECT_0;
  for (DWORD waited = 0; waited < kQuitTimeoutMs; waited += kQuitPollMs) {
    if (!IsWindow(window)) return true;
    Sleep(kQuitPollMs);
  }
  return !IsWindow(window);
}

}  // namespace

int RunResidentWin32(const Hotkey& hotkey, const CommandLineOptions& options) {
  InstanceLock lock;
  if (!lock.Take()) {
    Say(ResidentAlreadyRunningText());
    return 1;
  }
  return Listening(hotkey, options);
}

int QuitResidentWin32() {
  const HWND window = FindWindowExW(HWND_MESSAGE, nullptr, kWindowClass, nullptr);
  if (window == nullptr) {
    Say(NoResidentText());
    return 1;
  }
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  const HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageW(window, WM_CLOSE, 0, 0);
  const bool ended = WaitForEnd(window, process);
  if (process != nullptr) CloseHandle(process);
  if (ended) return 0;
  Say("the resident regioncap did not end");
  return 1;
}

}  // namespace rc
