#include "platform/x11/x11_host.h"

#include <X11/Xcursor/Xcursor.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "app/runtime_error.h"
#include "platform/codecs/posix_codecs.h"
#include "platform/freetype/text_freetype.h"
#include "platform/posix/posix_error_line.h"
#include "platform/posix/posix_files.h"
#include "platform/x11/x11_clipboard_owner.h"
#include "platform/x11/x11_monitors.h"
#include "platform/x11/x11_pixels.h"
#include "platform/gtk/gtk_dialogs.h"
#include "platform/x11/x11_scale.h"
#include "platform/x11/x11_settings.h"
#include "platform/x11/x11_shm_ring.h"
#include "platform/x11/x11_snapshot.h"
#include "platform/x11/x11_window_list.h"

namespace rc {

namespace {

intptr_t DefaultWindowProc(const Message&) { return 0; }

// The first pixel with any alpha ends the search, so opaque frames cost
// one read.
bool IsTransparent(const Canvas& canvas, const Box& box) {
  for (int32_t y = box.y; y < box.Bottom(); ++y) {
    const Pixel* row = canvas.Row(y);
    for (int32_t x = box.x; x < box.Right(); ++x)
      if (AlphaOf(row[x]) != 0) return false;
  }
  return true;
}

// The extensions the overlay asks about once the snapshot is taken (RandR
// for the monitors, RENDER for a colour cursor): Xlib keeps their answers,
// so asked now their round trips pass while the snapshot's memory is backed.
void AskExtensionsEarly(Display* dpy) {
  int eventBase = 0, errorBase = 0, major = 0, minor = 0;
  if (XRRQueryExtension(dpy, &eventBase, &errorBase)) XRRQueryVersion(dpy, &major, &minor);
  XcursorSupportsARGB(dpy);
}

}  // namespace

X11Host::X11Host(Use use) : proc_(DefaultWindowProc) {
  display_ = X11Display::Open(connectError_);
  if (!display_) return;
  if (use == Use::kCapture) {
    // The ring first: attaching it while the memory is being backed waits
    // for that.
    Ring();
    BackSnapshotEarly();
    AskExtensionsEarly(display_->Dpy());
  }
  cursors_ = std::make_unique<X11Cursors>(display_->Dpy());
  input_ = std::make_unique<X11InputTranslator>(display_->Dpy());
  if (const auto ms = ReadDoubleClickTime(display_->Dpy(), display_->ScreenNumber())) input_->SetDoubleClickInterval(*ms);
  uiScale_ = ReadX11UiScale(display_->Dpy());
}

X11Host::~X11Host() = default;

Size X11Host::ScreenSize() { return display_->ScreenSize(); }

// The root spans every monitor, so it is the desktop; RandR or Xinerama say
// which parts of it the monitors show, and without them the root is one.
std::vector<Monitor> X11Host::Monitors() {
  std::vector<Monitor> monitors = QueryX11Monitors(display_->Dpy(), display_->Root(), uiScale_);
  if (monitors.empty()) monitors.push_back(Monitor{DesktopRect(), uiScale_, true});
  return monitors;
}

// Inside the handling of an input event the pointer is where that event
// happened: a press followed quickly by a move anchors where the press was.
Point X11Host::CursorPos() {
  if (eventPosition_) return *eventPosition_;
  Window root = 0, child = 0;
  int rootX = 0, rootY = 0, winX = 0, winY = 0;
  unsigned int buttons = 0;
  XQueryPointer(display_->Dpy(), display_->Root(), &root, &child, &rootX, &rootY, &winX, &winY, &buttons);
  return {rootX, rootY};
}

void X11Host::BackSnapshotEarly() {
  const Size size = display_->ScreenSize();
  if (!ready_.snapshot.Create(size.width, size.height)) return;
  snapshotBacking_.Start(ready_.snapshot.Data(), ready_.snapshot.Pixels().size_bytes());
}

void X11Host::PrepareCapture() {
  input_->OpenInputMethod();
  snapshotBacking_.Finish();
  ready_ = PrepareX11SnapshotBuffers(*display_, Ring(), std::move(ready_.snapshot));
}

X11ShmRing* X11Host::Ring() {
  if (ring_ == nullptr && !ringRefused_) {
    ring_ = X11ShmRing::Create(*display_);
    ringRefused_ = ring_ == nullptr;
  }
  return ring_.get();
}

Canvas X11Host::TakeSnapshot() {
  snapshotError_.clear();
  return TakeX11Snapshot(*display_, Ring(), snapshotError_, std::move(ready_.snapshot), &snapshotBacking_);
}

void X11Host::LoadWindow(const std::function<void()>& onCreate) {
  const Size screen = display_->ScreenSize();
  window_ = std::make_unique<X11Window>(*display_, Box{0, 0, screen.width, screen.height});
  if (onCreate) onCreate();
}

uintptr_t X11Host::WindowHandle() { return window_ ? static_cast<uintptr_t>(window_->Handle()) : 0; }

void X11Host::SetWindowBounds(const Box& bounds) {
  if (window_) window_->SetBounds(bounds);
}

Box X11Host::WindowBounds() { return window_ ? window_->Bounds() : Box{}; }

// The spot is where the text being composed would start: the caret's
// foot, so the candidate list opens below the line, not over it.
void X11Host::SetTextInputSpot(std::optional<Box> caret) {
  if (!caret || !window_) return;
  const Box bounds = window_->Bounds();
  input_->SetTextSpot(XPoint{static_cast<short>(caret->x - bounds.x), static_cast<short>(caret->Bottom() - bounds.y)});
}

void X11Host::SetMousePointer(const MousePointer& pointer) {
  if (!window_) return;
  Display* dpy = display_->Dpy();
  cursor_ = cursors_->For(pointer);
  XDefineCursor(dpy, window_->Handle(), cursor_);
  // While grabbed the grab's cursor is the one shown, whatever the window's.
  if (window_->PointerGrabbed()) XChangeActivePointerGrab(dpy, kOverlayPointerEvents, cursor_, CurrentTime);
  XFlush(dpy);
}

// The first frame follows at once and covers the whole window, so the
// exposure of mapping it asks for nothing more; answering it from a back
// buffer still being filled would show the unfilled part.
void X11Host::MakeTopmost() {
  if (!window_) return;
  std::string error;
  if (!window_->ShowAndGrab(cursor_, error)) RaiseRuntimeError(std::nullopt, error);
  XEvent event;
  while (XCheckTypedWindowEvent(display_->Dpy(), window_->Handle(), Expose, &event)) {
  }
}

// Without a compositor there is nothing to make layered: the window shows
// exactly what Present gives it.
void X11Host::SetLayered(bool) {}

// A back buffer made ready before the capture is used when it fits; either
// way it is transparent, as fresh memory comes zeroed. The host keeps a
// handle on it to put exposed areas back and to let a forked clipboard owner
// drop its copy.
Canvas X11Host::CreateSurfaceCanvas(int32_t width, int32_t height) {
  surfaceReady_ = ready_.surface.Width() == width && ready_.surface.Height() == height;
  auto memory = std::make_shared<Canvas>(surfaceReady_ ? std::move(ready_.surface) : Canvas(width, height));
  ready_.surface.Release();
  Canvas canvas;
  if (memory->Empty()) return canvas;
  backBuffer_ = memory;
  Pixel* pixels = memory->Data();
  canvas.AdoptContents(pixels, width, height, [keep = std::move(memory)](Pixel*) mutable { keep.reset(); });
  return canvas;
}

HostResult X11Host::Present(const Canvas& backBuffer, const Box& damaged) {
  return PresentFrame(backBuffer, std::span<const Box>(&damaged, 1));
}

// Every box goes out in one write, so the frame shows whole. Nothing waits
// for the server: the boxes were copied on their way out.
HostResult X11Host::PresentFrame(const Canvas& backBuffer, std::span<const Box> damaged) {
  if (!window_ || backBuffer.Empty()) return HostResult::Fail("X11: nothing to present");
  HostResult result;
  for (const Box& box : damaged) {
    HostResult one = SendBox(backBuffer, box);
    if (!one.ok && result.ok) result = std::move(one);
  }
  XFlush(display_->Dpy());
  return result;
}

HostResult X11Host::SendBox(const Canvas& backBuffer, const Box& damaged) {
  const Box windowBox{0, 0, window_->Bounds().width, window_->Bounds().height};
  const Box box = IntersectBox(IntersectBox(damaged, backBuffer.Bounds()), windowBox);
  // A transparent area would come out black without a compositor; the
  // window has no background, so leaving it alone keeps what lies beneath.
  if (box.Empty() || IsTransparent(backBuffer, box)) return HostResult::Ok();
  return Put(backBuffer, box, {box.x, box.y});
}

HostResult X11Host::Put(const Canvas& pixels, const Box& box, Point at) {
  if (X11ShmRing* ring = Ring()) {
    if (ring->Put(window_->Handle(), window_->Gc(), pixels, box, at)) return HostResult::Ok();
    return HostResult::Fail("X11: the server refused the shared-memory image");
  }
  return display_->Format().matchesCanvas ? PutPlain(pixels, box, at) : PutConverted(pixels, box, at);
}

HostResult X11Host::PresentPiece(const Canvas& piece, const Box& part, Point at) {
  if (!window_ || piece.Empty()) return HostResult::Fail("X11: nothing to present");
  const Box box = IntersectBox(part, piece.Bounds());
  if (box.Empty()) return HostResult::Ok();
  HostResult result = Put(piece, box, {at.x + box.x - part.x, at.y + box.y - part.y});
  XFlush(display_->Dpy());
  return result;
}

HostResult X11Host::PresentPainted(const Box& area, const PresentTarget::PaintRows& paint) {
  X11ShmRing* ring = window_ ? Ring() : nullptr;
  if (ring == nullptr) return HostRuntime::PresentPainted(area, paint);
  const bool sent = ring->PutPainted(window_->Handle(), window_->Gc(), area, paint);
  XFlush(display_->Dpy());
  return sent ? HostResult::Ok() : HostResult::Fail("X11: the server refused the shared-memory image");
}

// The image points into the canvas, rows a canvas width apart, so only the
// damaged box travels and nothing is copied here.
HostResult X11Host::PutPlain(const Canvas& pixels, const Box& box, Point at) {
  Display* dpy = display_->Dpy();
  auto* first = const_cast<Pixel*>(pixels.Row(box.y) + box.x);
  XImage* image = XCreateImage(dpy, display_->ScreenVisual(), display_->Depth(), ZPixmap, 0,
                               reinterpret_cast<char*>(first), box.width, box.height, 32, pixels.Width() * 4);
  if (image == nullptr) return HostResult::Fail("X11: cannot describe the frame as an image");
  XPutImage(dpy, window_->Handle(), window_->Gc(), image, 0, 0, at.x, at.y, box.width, box.height);
  image->data = nullptr;  // the canvas's, not Xlib's to free
  XDestroyImage(image);
  return HostResult::Ok();
}

HostResult X11Host::PutConverted(const Canvas& pixels, const Box& box, Point at) {
  Display* dpy = display_->Dpy();
  XImage* image = XCreateImage(dpy, display_->ScreenVisual(), display_->Depth(), ZPixmap, 0, nullptr,
                               box.width, box.height, 32, 0);
  if (image == nullptr) return HostResult::Fail("X11: cannot describe the frame as an image");
  image->data = static_cast<char*>(std::malloc(static_cast<size_t>(image->bytes_per_line) * box.height));
  if (image->data == nullptr) {
    XDestroyImage(image);
    return HostResult::Fail("X11: out of memory for the frame");
  }
  for (int32_t y = 0; y < box.height; ++y)
    for (int32_t x = 0; x < box.width; ++x)
      XPutPixel(image, x, y, PixelToVisual(pixels.Row(box.y + y)[box.x + x], display_->Format()));
  XPutImage(dpy, window_->Handle(), window_->Gc(), image, 0, 0, at.x, at.y, box.width, box.height);
  XDestroyImage(image);
  return HostResult::Ok();
}

WindowProc X11Host::SetWindowProc(WindowProc proc) {
  WindowProc previous = std::move(proc_);
  proc_ = proc ? std::move(proc) : WindowProc(DefaultWindowProc);
  return previous;
}

// The area always waits for the program's next present, which settles the
// back buffer first. It is also put back at once from the back buffer; just
// after the first frame that may still be filling, and the next present
// mends what was put too early.
void X11Host::RepaintExposed(const XExposeEvent& expose) {
  if (!window_) return;
  const Box area{expose.x, expose.y, expose.width, expose.height};
  exposed_ = UnionBox(exposed_, area);
  const std::shared_ptr<Canvas> back = backBuffer_.lock();
  if (back == nullptr) return;
  const Box box = IntersectBox(area, back->Bounds());
  if (box.Empty()) return;
  Put(*back, box, {box.x, box.y});
  XFlush(display_->Dpy());
}

void X11Host::Dispatch(XEvent& event) {
  if (input_->Filter(event)) return;
  if (event.type == Expose) RepaintExposed(event.xexpose);
  const std::vector<Message> messages = input_->Translate(event);
  // Nested dispatch (pending messages handled inside a handler) gives the
  // outer event its position back afterwards.
  const std::optional<Point> outer = eventPosition_;
  const std::optional<Point> here = input_->EventPosition();
  for (const Message& message : messages) {
    eventPosition_ = here;
    // The procedure may replace itself while it runs; call a copy.
    const WindowProc proc = proc_;
    proc(message);
  }
  eventPosition_ = outer;
}

// The input method joins once the first frame shows; keys pressed before
// are read without it.
void X11Host::RunMessageLoop() {
  if (window_) window_->SelectMoreEvents(input_->AttachWindow(window_->Handle()));
  for (;;) {
    XEvent event;
    XNextEvent(display_->Dpy(), &event);
    Dispatch(event);
  }
}

void X11Host::ProcessPendingMessages() {
  Display* dpy = display_->Dpy();
  // Only what is queued now: events that arrive meanwhile wait for the loop.
  for (int queued = XPending(dpy); queued > 0 && XEventsQueued(dpy, QueuedAlready) > 0; --queued) {
    XEvent event;
    XNextEvent(dpy, &event);
    Dispatch(event);
  }
}

void X11Host::RegisterExitRoutine(std::function<void()> routine) { exitRoutine_ = std::move(routine); }

void X11Host::EndProgram(int exitCode) {
  if (!exitRoutineRan_) {
    exitRoutineRan_ = true;
    if (exitRoutine_) exitRoutine_();
  }
  if (display_ && display_->IsOpen()) {
    if (window_) window_->ReleaseGrabs();
    XSync(display_->Dpy(), False);
    cursors_->Abandon();
    display_->Close();  // the server frees the window, cursors and shared images
  }
  std::fflush(nullptr);
  std::exit(exitCode);
}

void X11Host::ShowErrorText(const std::string& text) {
  const std::string block = OneErrorLine(text);
  std::fwrite(block.data(), 1, block.size(), stderr);
  std::fflush(stderr);
}

TextMask X11Host::RenderText(const std::string& utf8, const FontRequest& font) {
  return RenderTextFreeType(utf8, font);
}

std::vector<const ImageCodec*> X11Host::ImageCodecs() { return PosixImageCodecs(); }

// A process of our own keeps the selection, so the picture stays on the
// clipboard after the program has ended.
HostResult X11Host::SetClipboardImage(const Canvas& source, const Box& area) {
  ProgramMemory programMemory;
  if (const std::shared_ptr<Canvas> back = backBuffer_.lock()) programMemory.push_back(back->Pixels());
  return StartClipboardOwner(source, area, programMemory);
}

// The dialog needs the keyboard and the pointer, so the overlay lets go of
// them while it is open and takes them back afterwards.
SaveDialogResult X11Host::ShowSaveDialog(const SaveDialogRequest& request) {
  ReleaseInput();
  const SaveDialogResult result = ShowGtkSaveDialog(request);
  RetakeInput();
  return result;
}

bool X11Host::AskYesNo(const std::string& title, const std::string& question) {
  ReleaseInput();
  const bool yes = AskGtkYesNo(title, question);
  RetakeInput();
  return yes;
}

// NOTE: the overlay took the input focus; with no window manager to move
// it, keys would keep reaching the overlay instead of the dialog. Pointer-
// root focus gives them to the window under the pointer until a window
// manager focuses the dialog. The overlay also goes to the bottom of the
// stack: a window manager stacks the dialog among its managed windows,
// which an override-redirect window above them all would hide.
void X11Host::ReleaseInput() {
  if (!window_) return;
  window_->ReleaseGrabs();
  XLowerWindow(display_->Dpy(), window_->Handle());
  XSetInputFocus(display_->Dpy(), PointerRoot, RevertToPointerRoot, CurrentTime);
  XSync(display_->Dpy(), False);
}

// Clicks and keys that reached the overlay while a dialog was open were
// meant for the dialog; they are dropped rather than replayed.
void X11Host::RetakeInput() {
  if (!window_) return;
  Display* dpy = display_->Dpy();
  std::string error;
  if (!window_->ShowAndGrab(cursor_, error)) ShowErrorText(error);
  XSync(dpy, False);
  XEvent event;
  while (XCheckMaskEvent(dpy, KeyPressMask | KeyReleaseMask | kOverlayPointerEvents, &event)) {
  }
}

bool X11Host::FileExists(const std::string& path) { return PosixFileExists(path); }

HostResult X11Host::WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) {
  return PosixWriteFileAtomic(path, bytes, "X11");
}

HostRuntime::LocalTime X11Host::Now() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

bool X11Host::DirectoryExists(const std::string& path) { return PosixDirectoryExists(path); }

void X11Host::MovePointer(Point desktop) {
  Display* dpy = display_->Dpy();
  XWarpPointer(dpy, None, display_->Root(), 0, 0, 0, 0, desktop.x, desktop.y);
  XFlush(dpy);
}

HostResult X11Host::SetClipboardText(const std::string& utf8) { return StartClipboardTextOwner(utf8); }

std::vector<Box> X11Host::WindowFrames() {
  return ListX11WindowFrames(display_->Dpy(), display_->Root(), window_ ? window_->Handle() : None);
}

std::string X11Host::SettingsDirectory() { return PosixSettingsDirectory(); }

std::optional<std::vector<uint8_t>> X11Host::ReadSmallFile(const std::string& path, size_t maxBytes) {
  return PosixReadSmallFile(path, maxBytes);
}

HostResult X11Host::MakeDirectories(const std::string& path) { return PosixMakeDirectories(path, "X11"); }

}  // namespace rc
