#include "platform/wayland/wayland_portal_capture.h"

#include <optional>
#include <string>
#include <vector>

#include "gfx/image_limits.h"
#include "platform/codecs/png_codec.h"
#include "platform/posix/posix_files.h"
#include "platform/wayland/portal_image.h"
#include "platform/wayland/portal_screenshot.h"
#include "platform/wayland/portal_uri.h"

namespace rc {

namespace {

// A PNG of the largest picture we accept cannot need more than this.
constexpr size_t kMaxFileBytes = static_cast<size_t>(kMaxImagePixels) * 4 + (size_t{1} << 20);

HostResult ReadPicture(const std::string& uri, Canvas& picture) {
  const std::optional<std::string> path = LocalPathOfUri(uri);
  if (!path) return HostResult::Fail("Wayland: the screenshot portal's picture is not a local file: " + uri);
  const std::optional<std::vector<uint8_t>> bytes = PosixReadSmallFile(*path, kMaxFileBytes);
  if (!bytes) return HostResult::Fail("Wayland: cannot read the screenshot portal's picture " + *path);
  const PngCodec png;
  if (!png.Recognises(*bytes) || !png.Decode(*bytes, picture))
    return HostResult::Fail("Wayland: the screenshot portal's picture " + *path + " is no PNG regioncap reads");
  return HostResult::Ok();
}

std::vector<PortalOutput> OutputsOf(const WaylandDisplay& display) {
  std::vector<PortalOutput> outputs;
  for (const auto& o : display.Outputs()) outputs.push_back({o->logical, o->desktop});
  return outputs;
}

}  // namespace

HostResult CapturePortal(const WaylandDisplay& display, Canvas& out) {
  std::string uri;
  HostResult result = AskPortalForScreenshot(uri);
  Canvas picture;
  if (result) result = ReadPicture(uri, picture);
  if (!result) return result;
  const Box desktop = display.DesktopRect();
  if (!out.Create(desktop.width, desktop.height)) return HostResult::Fail("Wayland: no memory for the snapshot");
  PlacePortalImage(picture, OutputsOf(display), desktop, out);
  return HostResult::Ok();
}

}  // namespace rc
