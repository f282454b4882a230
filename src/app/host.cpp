#include "app/host.h"

#include <algorithm>
#include <cassert>
#include <memory>

#include "gfx/image_codecs.h"

namespace rc {

namespace {

HostRuntime* g_host = nullptr;

// Text for the graphics layer comes from the installed host.
class HostTextRenderer : public TextRenderer {
 public:
  explicit HostTextRenderer(HostRuntime& host) : host_(host) {}
  TextMask Render(const std::string& utf8, const FontRequest& font) override { return host_.RenderText(utf8, font); }

 private:
  HostRuntime& host_;
};

// Forwards to whichever host is installed when the surface asks.
class HostSurfaceTarget : public PresentTarget {
 public:
  void SetLayered(bool layered) override { Host().SetLayered(layered); }
  Box WindowBounds() override { return Host().WindowBounds(); }
  Canvas CreateSurfaceCanvas(int32_t width, int32_t height) override {
    return Host().CreateSurfaceCanvas(width, height);
  }
  bool Present(const Canvas& backBuffer, std::span<const Box> boxes) override {
    return Host().PresentFrame(backBuffer, boxes).ok;
  }
  bool PresentsPieces() override { return Host().PresentsPieces(); }
  Box TakeExposed() override { return Host().TakeExposedArea(); }
  bool PresentPainted(const Box& area, const PaintRows& paint) override {
    return Host().PresentPainted(area, paint).ok;
  }
};

}  // namespace

HostRuntime& Host() {
  assert(g_host != nullptr && "no host installed");
  return *g_host;
}

// The graphics layer knows no host: it gets the host's text and codecs here.
void SetHost(HostRuntime* host) {
  static std::unique_ptr<HostTextRenderer> renderer;
  g_host = host;
  renderer = host != nullptr ? std::make_unique<HostTextRenderer>(*host) : nullptr;
  SetTextRenderer(renderer.get());
  SetPlatformCodecs(host != nullptr ? host->ImageCodecs() : std::vector<const ImageCodec*>{});
}

PresentTarget& HostPresentTarget() {
  static HostSurfaceTarget target;
  return target;
}

HostResult HostRuntime::PresentFrame(const Canvas& backBuffer, std::span<const Box> damaged) {
  HostResult result;
  for (const Box& box : damaged) {
    HostResult one = Present(backBuffer, box);
    if (!one.ok && result.ok) result = std::move(one);
  }
  return result;
}

HostResult HostRuntime::PresentPiece(const Canvas&, const Box&, Point) {
  return HostResult::Fail("this window shows only its back buffer");
}

// A band this high is a few hundred kilobytes even on a wide screen.
HostResult HostRuntime::PresentPainted(const Box& area, const PresentTarget::PaintRows& paint) {
  constexpr int32_t kBandHeight = 64;
  Canvas band(area.width, std::min(kBandHeight, area.height));
  if (band.Empty()) return area.Empty() ? HostResult::Ok() : HostResult::Fail("no memory for a band of the frame");
  for (int32_t top = area.y; top < area.Bottom(); top += band.Height()) {
    const Box rows{area.x, top, area.width, std::min(band.Height(), area.Bottom() - top)};
    paint(band, rows);
    HostResult shown = PresentPiece(band, {0, 0, rows.width, rows.height}, {rows.x, rows.y});
    if (!shown) return shown;
  }
  return HostResult::Ok();
}

std::optional<std::vector<uint8_t>> HostRuntime::ReadSmallFile(const std::string&, size_t) { return std::nullopt; }

HostResult HostRuntime::MakeDirectories(const std::string&) {
  return HostResult::Fail("this host keeps no folders");
}

bool HostRuntime::DirectoryExists(const std::string&) { return false; }

void HostRuntime::MovePointer(Point) {}

void HostRuntime::SetTextInputSpot(std::optional<Box>) {}

HostResult HostRuntime::SetClipboardText(const std::string&) {
  return HostResult::Fail("this host has no clipboard for text");
}

}  // namespace rc
