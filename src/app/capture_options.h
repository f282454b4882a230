// How this run's capture behaves beyond its defaults: what the command line
// and the settings file asked for.
#pragma once

#include <string>

namespace rc {

struct CaptureOptions {
  // A click without a drag selects the window under it (or its monitor).
  bool windowSnap = true;
  // Finishing also writes the picture here (a file, or a folder that gets
  // a time-stamped name); empty: the clipboard only.
  std::string outputPath;
  // "png", "jpg", "bmp" or "gif" for a path without an extension; empty: png.
  std::string format;
  // The finished rectangle goes to stdout as WxH+X+Y, in desktop coordinates.
  bool printGeometry = false;
};

}  // namespace rc
