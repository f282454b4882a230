#include "platform/headless/headless_host.h"

#include <thread>
#include <utility>

#include "app/run.h"
#include "gfx/blend.h"
#include "gfx/thread_start.h"
#include "platform/headless/headless_services.h"

namespace rc {

HeadlessHost::HeadlessHost(int32_t width, int32_t height)
    : HeadlessHost(Box{0, 0, width, height}, {Monitor{Box{0, 0, width, height}, 1.0f, true}}) {}

HeadlessHost::HeadlessHost(const Box& desktop, std::vector<Monitor> monitors)
    : desktop_(desktop), monitors_(std::move(monitors)), screen_(desktop.width, desktop.height) {
  screen_.Fill(MakePixel(255, 0, 0, 0));
  SetHost(this);
}

HeadlessHost::~HeadlessHost() {
  // A capture left running by a test still owns state that must be freed.
  if (!Ended() && exitRoutine_ && exitRoutineRuns_ == 0) exitRoutine_();
  RefuseThreadStarts(false);
  SetHost(nullptr);
}

void HeadlessHost::RefuseThreads(bool refuse) { RefuseThreadStarts(refuse); }

bool HeadlessHost::Guarded(const std::function<void()>& step) {
  if (Ended()) return false;
  try {
    step();
  } catch (const HeadlessProgramEnded&) {
    return false;
  }
  return !Ended();
}

bool HeadlessHost::Start() {
  return Guarded([this] { RunCapture(options_); });
}

bool HeadlessHost::Send(const Message& message) {
  return Guarded([&] {
    if (proc_) proc_(message);
  });
}

bool HeadlessHost::MoveTo(int32_t x, int32_t y) {
  SetCursor(x, y);
  return Send(At(MessageKind::MouseMove));
}
bool HeadlessHost::LeftDown() { return Send(At(MessageKind::LeftDown)); }
bool HeadlessHost::LeftUp() { return Send(At(MessageKind::LeftUp)); }
bool HeadlessHost::DoubleClick() { return Send(At(MessageKind::LeftDoubleClick)); }
bool HeadlessHost::RightUp() { return Send(At(MessageKind::RightUp)); }
bool HeadlessHost::KeyDown(Key key, uint32_t mods) {
  Message m = At(MessageKind::KeyDown);
  m.key = key;
  m.mods = mods;
  return Send(m);
}
bool HeadlessHost::KeyUp(Key key, uint32_t mods) {
  Message m = At(MessageKind::KeyUp);
  m.key = key;
  m.mods = mods;
  return Send(m);
}
bool HeadlessHost::Wheel(int32_t steps) {
  Message m = At(MessageKind::Wheel);
  m.wheel = steps;
  return Send(m);
}
bool HeadlessHost::TypeText(const std::string& utf8) {
  Message m = At(MessageKind::Text);
  m.text = utf8;
  return Send(m);
}

Message HeadlessHost::At(MessageKind kind) const {
  Message m;
  m.kind = kind;
  m.pos = cursor_;
  m.mods = mods_;
  return m;
}

Size HeadlessHost::ScreenSize() { return {desktop_.width, desktop_.height}; }

std::vector<Monitor> HeadlessHost::Monitors() {
  if (monitors_.empty()) return HostRuntime::Monitors();
  return monitors_;
}

namespace {

// Fresh memory is slow to touch the first time, so a large copy is backed in
// one call and split between two threads. `area` lies inside `source`.
Canvas CopyInParallel(const Canvas& source, const Box& area, Pixel orMask) {
  Canvas copy(area.width, area.height);
  if (copy.Empty()) return copy;
  HeadlessPrefault(copy.Data(), static_cast<size_t>(area.width) * area.height * sizeof(Pixel));
  const auto copyRows = [&](int32_t first, int32_t end) {
    for (int32_t y = first; y < end; ++y) {
      const Pixel* from = source.Row(area.y + y) + area.x;
      Pixel* to = copy.Row(y);
      for (int32_t x = 0; x < area.width; ++x) to[x] = from[x] | orMask;
    }
  };
  const int32_t half = area.height / 2;
  std::thread lower = StartThreadOrRunHere([&] { copyRows(half, area.height); });
  copyRows(0, half);
  if (lower.joinable()) lower.join();
  return copy;
}

}  // namespace

Canvas HeadlessHost::TakeSnapshot() {
  if (!snapshotError_.empty()) return {};
  return CopyInParallel(screen_, screen_.Bounds(), 0);
}

void HeadlessHost::LoadWindow(const std::function<void()>& onCreate) {
  windowCreated_ = true;
  onCreate();
}

void HeadlessHost::SetWindowBounds(const Box& bounds) { bounds_ = bounds; }

void HeadlessHost::SetMousePointer(const MousePointer& pointer) {
  pointer_ = pointer;
  ++pointerChanges_;
}

Canvas HeadlessHost::CreateSurfaceCanvas(int32_t width, int32_t height) {
  return Canvas(width, height);
}

HostResult HeadlessHost::Present(const Canvas& backBuffer, const Box& damaged) {
  return PresentPiece(backBuffer, damaged, {damaged.x, damaged.y});
}

HostResult HeadlessHost::PresentFrame(const Canvas& backBuffer, std::span<const Box> damaged) {
  ++presentedFrames_;
  return HostRuntime::PresentFrame(backBuffer, damaged);
}

void HeadlessHost::LoseArea(const Box& area) {
  const Point window{bounds_.x - desktop_.x, bounds_.y - desktop_.y};
  const Box onScreen = IntersectBox({area.x + window.x, area.y + window.y, area.width, area.height}, screen_.Bounds());
  for (int32_t y = onScreen.y; y < onScreen.Bottom(); ++y)
    for (int32_t x = onScreen.x; x < onScreen.Right(); ++x) screen_.Row(y)[x] = MakePixel(255, 255, 255, 255);
  exposed_ = UnionBox(exposed_, area);
}

// The window covers the screen from its bounds' origin (in desktop
// coordinates); what it presents is what the screen shows.
HostResult HeadlessHost::PresentPiece(const Canvas& piece, const Box& part, Point at) {
  const Box from = IntersectBox(part, piece.Bounds());
  const Point window{bounds_.x - desktop_.x, bounds_.y - desktop_.y};
  const Point shift{at.x - part.x + window.x, at.y - part.y + window.y};
  const Box onScreen = IntersectBox({from.x + shift.x, from.y + shift.y, from.width, from.height}, screen_.Bounds());
  if (onScreen.Empty()) return HostResult::Ok();
  StretchCopy(screen_, onScreen, piece, {onScreen.x - shift.x, onScreen.y - shift.y, onScreen.width, onScreen.height});
  presentedBoxes_.push_back({onScreen.x - window.x, onScreen.y - window.y, onScreen.width, onScreen.height});
  return HostResult::Ok();
}

WindowProc HeadlessHost::SetWindowProc(WindowProc proc) {
  WindowProc previous = proc_ ? std::move(proc_) : WindowProc([](const Message&) { return intptr_t{0}; });
  proc_ = std::move(proc);
  return previous;
}

void HeadlessHost::DispatchQueued() {
  while (!queue_.empty() && !Ended()) {
    const Message message = queue_.front();
    queue_.pop_front();
    if (proc_) proc_(message);
  }
}

// The headless loop returns once the queue is empty, so a test can go on
// feeding messages one at a time.
void HeadlessHost::RunMessageLoop() { DispatchQueued(); }
void HeadlessHost::ProcessPendingMessages() { DispatchQueued(); }

void HeadlessHost::RegisterExitRoutine(std::function<void()> routine) { exitRoutine_ = std::move(routine); }

void HeadlessHost::EndProgram(int exitCode) {
  if (!exitCode_) {
    exitCode_ = exitCode;
    if (exitRoutine_) {
      ++exitRoutineRuns_;
      exitRoutine_();
    }
  }
  throw HeadlessProgramEnded{exitCode};
}

TextMask HeadlessHost::RenderText(const std::string& utf8, const FontRequest& font) {
  return HeadlessRenderText(utf8, font);
}

std::vector<const ImageCodec*> HeadlessHost::ImageCodecs() { return HeadlessImageCodecs(); }

HostResult HeadlessHost::SetClipboardImage(const Canvas& source, const Box& area) {
  if (clipboardFailures_ != 0) {
    if (clipboardFailures_ > 0) --clipboardFailures_;
    return HostResult::Fail("Headless: the clipboard is held by another program");
  }
  const bool inside = !area.Empty() && IntersectBox(area, source.Bounds()) == area;
  clipboard_ = inside ? CopyInParallel(source, area, 0xFF000000u) : OpaqueCopy(source, area);
  return HostResult::Ok();
}

SaveDialogResult HeadlessHost::ShowSaveDialog(const SaveDialogRequest& request) {
  saveRequests_.push_back(request);
  if (saveAnswers_.empty()) return {};
  SaveDialogResult answer = saveAnswers_.front();
  saveAnswers_.pop_front();
  return answer;
}

bool HeadlessHost::AskYesNo(const std::string& title, const std::string& question) {
  questions_.push_back(title + ": " + question);
  if (yesNoAnswers_.empty()) return false;
  const bool yes = yesNoAnswers_.front();
  yesNoAnswers_.pop_front();
  return yes;
}

bool HeadlessHost::FileExists(const std::string& path) { return HeadlessFileExists(path); }

HostResult HeadlessHost::WriteFileAtomic(const std::string& path, std::span<const uint8_t> bytes) {
  return HeadlessWriteFile(path, bytes);
}

bool HeadlessHost::DirectoryExists(const std::string& path) { return HeadlessDirectoryExists(path); }

std::optional<std::vector<uint8_t>> HeadlessHost::ReadSmallFile(const std::string& path, size_t maxBytes) {
  return HeadlessReadFile(path, maxBytes);
}

HostResult HeadlessHost::MakeDirectories(const std::string& path) { return HeadlessMakeDirectories(path); }

// The pointer goes where the program puts it; the move message a real
// system would send back is the test's to send.
void HeadlessHost::MovePointer(Point desktop) {
  cursor_ = desktop;
  pointerMoves_.push_back(desktop);
}

HostResult HeadlessHost::SetClipboardText(const std::string& utf8) {
  if (clipboardFailures_ != 0) {
    if (clipboardFailures_ > 0) --clipboardFailures_;
    return HostResult::Fail("Headless: the clipboard is held by another program");
  }
  clipboardText_ = utf8;
  return HostResult::Ok();
}

void HeadlessHost::SetTextInputSpot(std::optional<Box> caret) {
  textInputSpot_ = caret;
  ++textInputSpotCalls_;
}

}  // namespace rc
