#include "output/region_capture.h"

#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/host.h"
#include "gfx/blend.h"
#include "output/command_output.h"

namespace rc {

namespace {

int Fail(const std::string& why) {
  std::fprintf(stderr, "regioncap: %s\n", why.c_str());
  return kExitFailure;
}

}  // namespace

int CaptureRegion(const Box& region, const CaptureOptions& options) {
  const Canvas snapshot = Host().TakeSnapshot();
  const Box desktop = Host().DesktopRect();
  const Box wanted{region.x - desktop.x, region.y - desktop.y, region.width, region.height};
  const Box area = IntersectBox(wanted, snapshot.Bounds());
  if (snapshot.Empty()) {
    const std::string why = Host().SnapshotError();
    return Fail(why.empty() ? "cannot read the screen" : why);
  }
  if (area.Empty()) return Fail("the region " + GeometryText(region) + " lies outside the desktop");
  const HostResult out = options.outputPath.empty() ? Host().SetClipboardImage(snapshot, area)
                                                    : WriteOutputFile(OpaqueCopy(snapshot, area), options);
  if (!out) return Fail(out.message);
  PrintGeometryIfAsked(options, {area.x + desktop.x, area.y + desktop.y, area.width, area.height});
  return kExitOk;
}

}  // namespace rc
