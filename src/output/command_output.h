// What the command line adds to finishing: the picture also written to
// --output, and the rectangle printed for --print-geometry.
#pragma once

#include <string>
#include <string_view>

#include "app/capture_options.h"
#include "app/host.h"
#include "gfx/canvas.h"
#include "gfx/geometry.h"

namespace rc {

struct OutputTarget {
  std::string path;
  std::string_view formatId;  // one of the kImageFormat texts
};

// The file --output asks for now: the path itself, its format from its
// extension, else from --format, else PNG; a folder (an existing one, or
// a path ending in a separator) gets 截图<time stamp>.<extension> inside.
OutputTarget ResolveOutputTarget(const CaptureOptions& options, const HostRuntime::LocalTime& now);

// Encodes the picture and writes it where --output says.
HostResult WriteOutputFile(const Canvas& picture, const CaptureOptions& options);

// "WxH+X+Y": the size, then the top-left corner in desktop coordinates
// (a negative corner reads "+-X").
std::string GeometryText(const Box& rect);

// Prints the rectangle (desktop coordinates) on stdout when --print-geometry asked for it.
void PrintGeometryIfAsked(const CaptureOptions& options, const Box& rect);
// The same for the running capture's selection, in overlay coordinates.
void PrintGeometryIfAsked(const IntRect& selection);

}  // namespace rc
