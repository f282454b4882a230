#include "platform/wayland/wayland_screencopy.h"

#include <memory>
#include <thread>
#include <vector>

#include "platform/posix/posix_memory.h"
#include "platform/wayland/wayland_pixels.h"
#include "platform/wayland/wayland_shm.h"
#include "wlr-screencopy-unstable-v1-client-protocol.h"

namespace rc {

namespace {

struct OutputCapture {
  const WaylandOutput* output = nullptr;
  wl_shm* shm = nullptr;
  uint32_t version = 1;
  zwlr_screencopy_frame_v1* frame = nullptr;
  uint32_t format = 0;
  Size size;
  int32_t stride = 0;
  bool offered = false;
  std::unique_ptr<WaylandShmBuffer> buffer;
  uint32_t flags = 0;
  bool done = false;
  std::string error;
};

void Fail(OutputCapture& c, std::string why) {
  if (c.error.empty()) c.error = std::move(why);
  c.done = true;
}

// The buffer is made once the compositor has said everything it offers.
void StartCopy(OutputCapture& c) {
  if (c.buffer != nullptr || c.done) return;
  bool swap = false;
  if (!c.offered || !ReadableShmFormat(c.format, swap)) {
    Fail(c, "Wayland: the compositor offers the screen of " + c.output->connector + " in no pixel format regioncap reads");
    return;
  }
  std::string error;
  c.buffer = WaylandShmBuffer::Create(c.shm, c.size, c.stride, c.format, error);
  if (c.buffer == nullptr) {
    Fail(c, error);
    return;
  }
  zwlr_screencopy_frame_v1_copy(c.frame, c.buffer->Buffer());
}

void OnBuffer(void* data, zwlr_screencopy_frame_v1*, uint32_t format, uint32_t width, uint32_t height, uint32_t stride) {
  auto& c = *static_cast<OutputCapture*>(data);
  bool swap = false;
  // Several formats may be offered (version 3); one we read wins.
  if (c.offered && ReadableShmFormat(c.format, swap)) return;
  c.format = format;
  c.size = {static_cast<int32_t>(width), static_cast<int32_t>(height)};
  c.stride = static_cast<int32_t>(stride);
  c.offered = true;
  if (c.version < 3) StartCopy(c);
}

void OnFlags(void* data, zwlr_screencopy_frame_v1*, uint32_t flags) { static_cast<OutputCapture*>(data)->flags = flags; }

void OnReady(void* data, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {
  static_cast<OutputCapture*>(data)->done = true;
}

void OnFailed(void* data, zwlr_screencopy_frame_v1*) {
  auto& c = *static_cast<OutputCapture*>(data);
  Fail(c, "Wayland: the compositor refused to copy the screen of " + c.output->connector);
}

void OnDamage(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t, uint32_t) {}

void OnDmabuf(void*, zwlr_screencopy_frame_v1*, uint32_t, uint32_t, uint32_t) {}

void OnBufferDone(void* data, zwlr_screencopy_frame_v1*) { StartCopy(*static_cast<OutputCapture*>(data)); }

const zwlr_screencopy_frame_v1_listener kFrameListener = {OnBuffer, OnFlags,  OnReady,     OnFailed,
                                                          OnDamage, OnDmabuf, OnBufferDone};

std::vector<std::unique_ptr<OutputCapture>> RequestFrames(WaylandDisplay& display) {
  std::vector<std::unique_ptr<OutputCapture>> captures;
  const WaylandGlobals& g = display.Globals();
  for (const auto& o : display.Outputs()) {
    auto c = std::make_unique<OutputCapture>();
    c->output = o.get();
    c->shm = g.shm;
    c->version = g.screencopyVersion;
    c->frame = zwlr_screencopy_manager_v1_capture_output(g.screencopy, 0, o->output);
    zwlr_screencopy_frame_v1_add_listener(c->frame, &kFrameListener, c.get());
    captures.push_back(std::move(c));
  }
  return captures;
}

bool AllDone(const std::vector<std::unique_ptr<OutputCapture>>& captures) {
  for (const auto& c : captures)
    if (!c->done) return false;
  return true;
}

ScreenBufferLayout LayoutOf(const OutputCapture& c) {
  ScreenBufferLayout in;
  in.bytes = c.buffer->Bytes();
  in.width = c.size.width;
  in.height = c.size.height;
  in.stride = c.stride;
  ReadableShmFormat(c.format, in.swapRedBlue);
  in.yInverted = (c.flags & ZWLR_SCREENCOPY_FRAME_V1_FLAGS_Y_INVERT) != 0;
  in.transform = c.output->transform;
  return in;
}

// Fresh memory is slow to touch the first time, so the halves of each
// output are written by two threads.
void Compose(const OutputCapture& c, Canvas& out, Point origin) {
  const ScreenBufferLayout in = LayoutOf(c);
  const Box fits = IntersectBox({c.output->desktop.x - origin.x, c.output->desktop.y - origin.y, RotatedWidth(in),
                                 RotatedHeight(in)}, out.Bounds());
  if (fits.width != RotatedWidth(in) || fits.height != RotatedHeight(in)) return;  // resized meanwhile
  const Point at{fits.x, fits.y};
  const int32_t half = fits.height / 2;
  std::thread lower([&] { ComposeScreenRows(in, out, at, half, fits.height); });
  ComposeScreenRows(in, out, at, 0, half);
  lower.join();
}

// Outputs never overlap, so they cover the desktop when their areas add up.
bool OutputsCover(const WaylandDisplay& display, const Box& desktop) {
  int64_t covered = 0;
  for (const auto& o : display.Outputs()) covered += static_cast<int64_t>(o->desktop.width) * o->desktop.height;
  return covered == static_cast<int64_t>(desktop.width) * desktop.height;
}

}  // namespace

HostResult CaptureScreencopy(WaylandDisplay& display, Canvas& out) {
  if (display.Globals().screencopy == nullptr)
    return HostResult::Fail("Wayland: the compositor offers no zwlr_screencopy_manager_v1");
  std::vector<std::unique_ptr<OutputCapture>> captures = RequestFrames(display);
  while (!AllDone(captures))
    if (wl_display_dispatch(display.Display()) < 0) return HostResult::Fail("Wayland: the compositor closed the connection");
  HostResult result;
  const Box desktop = display.DesktopRect();
  if (out.Create(desktop.width, desktop.height)) {
    PrefaultForWriting(out.Data(), static_cast<size_t>(out.Width()) * out.Height() * sizeof(Pixel));
    if (!OutputsCover(display, desktop)) out.Fill(MakePixel(255, 0, 0, 0));
  }
  for (const auto& c : captures) {
    if (!c->error.empty() && result) result = HostResult::Fail(c->error);
    if (c->error.empty() && !out.Empty()) Compose(*c, out, {desktop.x, desktop.y});
    zwlr_screencopy_frame_v1_destroy(c->frame);
  }
  if (out.Empty() && result) result = HostResult::Fail("Wayland: no memory for the snapshot");
  return result;
}

}  // namespace rc
