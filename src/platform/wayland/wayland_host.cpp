#include "platform/wayland/wayland_host.h"

#include <fcntl.h>
#include <malloc.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "gfx/blend.h"
#include "platform/codecs/posix_codecs.h"
#include "platform/freetype/text_freetype.h"
#include "platform/posix/posix_error_line.h"
#include "platform/posix/posix_files.h"
#include "platform/wayland/wayland_clipboard.h"
#include "platform/wayland/wayland_portal_capture.h"
#include "platform/wayland/wayland_screencopy.h"
#include "platform/gtk/gtk_dialogs.h"

namespace rc {

namespace {

intptr_t DefaultWindowProc(const Message&) { return 0; }

bool EnvIs(const char* name, const char* value) {
  const char* v = std::getenv(name);
  return v != nullptr && std::strcmp(v, value) == 0;
}

}  // namespace

// The back buffer's memory, shared by the canvas the program draws in and
// the overlay, which reads it whenever the compositor wants a frame.
struct WaylandHost::SurfaceMemory : OverlayPixels {
  std::unique_ptr<Pixel[]> memory;
};

WaylandHost::WaylandHost() : proc_(DefaultWindowProc) {
  display_ = WaylandDisplay::Connect(connectError_);
  if (!display_) return;
  layerShell_ = !EnvIs("REGIONCAP_WAYLAND_OVERLAY", "toplevel");
  portalSnapshot_ = EnvIs("REGIONCAP_WAYLAND_SNAPSHOT", "portal");
  if (!CheckProtocols()) {
    display_.reset();
    return;
  }
  input_ = std::make_unique<WaylandInput>(
      *display_, [this](wl_surface* s, double x, double y) { return overlay_ ? overlay_->DesktopPoint(s, x, y) : std::nullopt; },
      [this](uint32_t serial) {
        enterSerial_ = serial;
        entered_ = true;
        ShowCursor();
      });
  textInput_ = std::make_unique<WaylandTextInput>(
      *display_, [this](wl_surface* s, const Box& b) { return overlay_ ? overlay_->SurfaceBox(s, b) : std::nullopt; },
      [this](const std::string& text) { input_->PushText(text); });
  cursors_ = std::make_unique<WaylandCursors>(*display_);
}

WaylandHost::~WaylandHost() = default;

bool WaylandHost::CheckProtocols() {
  const WaylandGlobals& g = display_->Globals();
  if (layerShell_ && g.layerShell == nullptr && g.wmBase == nullptr)
    connectError_ = "Wayland: the compositor offers neither zwlr_layer_shell_v1 nor xdg_wm_base";
  else if (!layerShell_ && g.wmBase == nullptr) connectError_ = "Wayland: the compositor offers no xdg_wm_base";
  else if (g.seat == nullptr) connectError_ = "Wayland: the compositor offers no seat";
  layerShell_ = layerShell_ && g.layerShell != nullptr;
  // GNOME and KDE let no client copy the screen; their portal does.
  portalSnapshot_ = portalSnapshot_ || g.screencopy == nullptr;
  return connectError_.empty();
}

// A failure the program cannot go on from: one line, nothing left on the
// screen, exit code 1.
void WaylandHost::Fail(const std::string& line) {
  if (overlay_) overlay_->Destroy();
  std::fprintf(stderr, "regioncap: %s\n", line.c_str());
  std::fflush(stderr);
  if (display_) display_.reset();
  std::_Exit(1);
}

Size WaylandHost::ScreenSize() {
  const Box d = display_->DesktopRect();
  return {d.width, d.height};
}

Box WaylandHost::DesktopRect() { return display_->DesktopRect(); }

std::vector<Monitor> WaylandHost::Monitors() {
  std::vector<Monitor> monitors;
  for (const auto& o : display_->Outputs()) {
    const float scale = o->logical.width > 0 ? static_cast<float>(o->desktop.width) / o->logical.width : 1.0f;
    monitors.push_back({o->desktop, scale, monitors.empty()});
  }
  return monitors;
}

// Wayland tells a client where the pointer is only once it enters one of
// its surfaces; until then the middle of the first output stands in.
Point WaylandHost::CursorPos() {
  if (input_ && input_->Position()) return *input_->Position();
  const Box first = display_->Outputs().front()->desktop;
  return {first.x + first.width / 2, first.y + first.height / 2};
}

Canvas WaylandHost::TakeSnapshot() {
  Canvas shot;
  const HostResult result = portalSnapshot_ ? CapturePortal(*display_, shot) : CaptureScreencopy(*display_, shot);
  snapshotError_ = result.message;
  if (!result) shot.Release();
  return shot;
}

// The surfaces are made (empty, so invisible) before the snapshot: the
// compositor configures them while the screen is being copied.
void WaylandHost::LoadWindow(const std::function<void()>& onCreate) {
  overlay_ = std::make_unique<WaylandOverlay>(*display_, layerShell_);
  const HostResult made = overlay_->Create();
  if (!made) Fail(made.message);
  if (onCreate) onCreate();
}

uintptr_t WaylandHost::WindowHandle() { return overlay_ ? reinterpret_cast<uintptr_t>(overlay_.get()) : 0; }

// The overlay always covers every output.
void WaylandHost::SetWindowBounds(const Box&) {}

Box WaylandHost::WindowBounds() {
  const Size s = ScreenSize();
  return {0, 0, s.width, s.height};
}

void WaylandHost::SetMousePointer(const MousePointer& pointer) {
  pointer_ = pointer;
  ShowCursor();
}

void WaylandHost::ShowCursor() {
  if (entered_ && cursors_ && input_) cursors_->Show(input_->Pointer(), enterSerial_, pointer_);
}

// The layer surfaces already sit above everything with the keyboard; this
// waits for the compositor to configure them.
void WaylandHost::MakeTopmost() {
  if (!display_->Roundtrip()) Fail("Wayland: the compositor closed the connection");
}

void WaylandHost::SetLayered(bool) {}

Canvas WaylandHost::CreateSurfaceCanvas(int32_t width, int32_t height) {
  Canvas canvas;
  auto memory = std::make_shared<SurfaceMemory>();
  const size_t count = static_cast<size_t>(std::max(0, width)) * std::max(0, height);
  if (count == 0) return canvas;
  memory->memory.reset(new (std::nothrow) Pixel[count]);
  if (memory->memory == nullptr) return canvas;
  memory->pixels = memory->memory.get();
  memory->width = width;
  memory->height = height;
  surface_ = memory;
  Pixel* pixels = memory->memory.get();
  canvas.Adopt(pixels, width, height, [keep = std::move(memory)](Pixel*) mutable { keep.reset(); });
  return canvas;
}

HostResult WaylandHost::Present(const Canvas& backBuffer, const Box& damaged) {
  return PresentFrame(backBuffer, std::span<const Box>(&damaged, 1));
}

HostResult WaylandHost::PresentFrame(const Canvas& backBuffer, std::span<const Box> damaged) {
  if (!overlay_ || backBuffer.Empty()) return HostResult::Fail("Wayland: nothing to present");
  std::shared_ptr<const OverlayPixels> source = surface_.lock();
  if (source == nullptr || source->pixels != backBuffer.Data()) {
    // Not our memory: shown now or never, since it may be gone later.
    source = std::make_shared<OverlayPixels>(OverlayPixels{backBuffer.Data(), backBuffer.Width(), backBuffer.Height()});
  }
  overlay_->Present(source, damaged);
  return HostResult::Ok();
}

WindowProc WaylandHost::SetWindowProc(WindowProc proc) {
  WindowProc previous = std::move(proc_);
  proc_ = proc ? std::move(proc) : WindowProc(DefaultWindowProc);
  return previous;
}

// Reads what the compositor sent (waiting for it when `block`) and runs
// the listeners, which queue messages and send due frames.
bool WaylandHost::ReadEvents(bool block) {
  wl_display* d = display_->Display();
  if (wl_display_dispatch_pending(d) < 0) return false;
  while (wl_display_prepare_read(d) != 0)
    if (wl_display_dispatch_pending(d) < 0) return false;
  wl_display_flush(d);
  pollfd p{wl_display_get_fd(d), POLLIN, 0};
  if (poll(&p, 1, block ? -1 : 0) > 0) {
    if (wl_display_read_events(d) < 0) return false;
  } else {
    wl_display_cancel_read(d);
  }
  return wl_display_dispatch_pending(d) >= 0;
}

void WaylandHost::DispatchQueued(size_t count) {
  std::deque<QueuedMessage>& queue = input_->Queue();
  for (; count > 0 && !queue.empty(); --count) {
    const Message message = std::move(queue.front().message);
    if (queue.front().serial != 0) inputSerial_ = queue.front().serial;
    queue.pop_front();
    // The procedure may replace itself while it runs; call a copy.
    const WindowProc proc = proc_;
    proc(message);
  }
}

void WaylandHost::RunMessageLoop() {
  for (;;) {
    while (input_->Queue().empty())
      if (!ReadEvents(true)) Fail("Wayland: the compositor closed the connection");
    DispatchQueued(1);
  }
}

// Only what is queued now: messages that arrive meanwhile wait for the loop.
void WaylandHost::ProcessPendingMessages() {
  if (!ReadEvents(false)) Fail("Wayland: the compositor closed the connection");
  DispatchQueued(input_->Queue().size());
}

void WaylandHost::RegisterExitRoutine(std::function<void()> routine) { exitRoutine_ = std::move(routine); }

void WaylandHost::EndProgram(int exitCode) {
  if (!exitRoutineRan_) {
    exitRoutineRan_ = true;
    if (exitRoutine_) exitRoutine_();
  }
  if (display_ && display_->Display() != nullptr) {
    if (overlay_) overlay_->Destroy();
    wl_display_flush(display_->Display());
    if (selection_ && selection_->Holding()) KeepClipboardAndExit(exitCode);
  }
  std::fflush(nullptr);
  std::exit(exitCode);
}

// Our offer on the data device lives as long as this connection: a child
// keeps it and serves pastes, and the program exits at once with its own
// code, never touching the connection again.
// NOTE: the child is forked without an exec (the connection's objects live
// in this process's memory) and uses only libwayland, malloc and the
// codecs, whose locks no other thread of ours holds.
void WaylandHost::KeepClipboardAndExit(int exitCode) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child == 0) ServeClipboardToTheEnd();
  if (child < 0) {
    std::fprintf(stderr, "regioncap: Wayland: cannot keep the clipboard after the program ends\n");
    if (exitCode == 0) exitCode = 1;
  }
  std::_Exit(exitCode);
}

// The child keeps the connection and nothing else of the program: not its
// output pipes, not its terminal's signals, not memory it had freed.
void WaylandHost::ServeClipboardToTheEnd() {
  const int connection = wl_display_get_fd(display_->Display());
  const int null = open("/dev/null", O_RDWR);
  // The connection itself is 0, 1 or 2 when the program started without them.
  for (int fd = 0; fd < 3 && null >= 0; ++fd)
    if (fd != connection) dup2(null, fd);
  if (connection > 3) close_range(3, static_cast<unsigned>(connection) - 1, 0);
  close_range(static_cast<unsigned>(connection) + 1, ~0U, 0);
  setsid();
  signal(SIGPIPE, SIG_IGN);
  malloc_trim(0);
  selection_->ServeUntilTaken();
  std::_Exit(0);
}

void WaylandHost::ShowErrorText(const std::string& text) {
  const std::string block = OneErrorLine(text);
  std::fwrite(block.data(), 1, block.size(), stderr);
  std::fflush(stderr);
}

TextMask WaylandHost::RenderText(const std::string& utf8, const FontRequest& font) {
  return RenderTextFreeType(utf8, font);
}

std::vector<const ImageCodec*> WaylandHost::ImageCodecs() { return PosixImageCodecs(); }

// Data-control where offered: its owner needs no input of ours and has a
// connection of its own. REGIONCAP_WAYLAND_CLIPBOARD=data-device or
// data-control forces one.
bool WaylandHost::UseDataControl() const {
  if (EnvIs("REGIONCAP_WAYLAND_CLIPBOARD", "data-device")) return false;
  if (EnvIs("REGIONCAP_WAYLAND_CLIPBOARD", "data-control")) return true;
  return display_->Globals().dataControl != nullptr;
}

HostResult WaylandHost::SetClipboard(const std::function<WaylandClipboardContent()>& content,
                                     const Canvas* source) {
  if (UseDataControl()) {
    if (display_->Globals().dataControl == nullptr)
      return HostResult::Fail("Wayland: the compositor offers no zwlr_data_control_manager_v1");
    std::vector<std::span<const Pixel>> programMemory;
    if (source != nullptr) programMemory.push_back(source->Pixels());
    if (const std::shared_ptr<SurfaceMemory> back = surface_.lock())
      programMemory.emplace_back(back->pixels, static_cast<size_t>(back->width) * back->height);
    return StartWaylandClipboardOwner(content, programMemory);
  }
  if (!selection_) selection_ = std::make_unique<WaylandSelection>(*display_);
  return selection_->Offer(content(), inputSerial_);
}

HostResult WaylandHost::SetClipboardImage(const Canvas& source, const Box& area) {
  if (area.Empty() || source.Empty()) return HostResult::Fail("Wayland: nothing to put on the clipboard");
  return SetClipboard([&] { return WaylandClipboardContent::Picture(OpaqueCopy(source, area)); }, &source);
}

HostResult WaylandHost::SetClipboardText(const std::string& utf8) {
  if (utf8.empty()) return HostResult::Fail("Wayland: nothing to put on the clipboard");
  return SetClipboard([&] { return WaylandClipboardContent::Text(utf8); });
}

void WaylandHost::SetTextInputSpot(std::optional<Box> caret) {
  if (textInput_) textInput_->SetSpot(caret);
}

// The dialog is GTK's own window on its own connection; the overlay steps
// down under it meanwhile. Input that reached the overlay then was meant
// for the dialog and is dropped.
SaveDialogResult WaylandHost::ShowSaveDialog(const SaveDialogRequest& request) {
  if (overlay_) overlay_->StepDown();
  const SaveDialogResult result = ShowGtkSaveDialog(request);
  if (overlay_) overlay_->StepUp();
  ReadEvents(false);
  input_->Queue().clear();
  return result;
}

bool WaylandHost::AskYesNo(const std::string& title, const std::string& question) {
  if (overlay_) overlay_->StepDown();
  const bool yes = AskGtkYesNo(title, question);
  if (overlay_) overlay_->StepUp();
  ReadEvents(false);
  input_->Queue().clear();
  return yes;
}

bool WaylandHost::FileExists(const std::string& path) { return PosixFileExists(path); }

HostResult WaylandHost::WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) {
  return PosixWriteFileAtomic(path, bytes, "Wayland");
}

HostRuntime::LocalTime WaylandHost::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

bool WaylandHost::DirectoryExists(const std::string& path) { return PosixDirectoryExists(path); }

std::string WaylandHost::SettingsDirectory() { return PosixSettingsDirectory(); }

std::optional<std::vector<uint8_t>> WaylandHost::ReadSmallFile(const std::string& path, size_t maxBytes) {
  return PosixReadSmallFile(path, maxBytes);
}

HostResult WaylandHost::MakeDirectories(const std::string& path) { return PosixMakeDirectories(path, "Wayland"); }

}  // namespace rc
