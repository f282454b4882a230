// The command line: `regioncap [options]`, arguments as UTF-8 on every
// platform (the Windows entry point converts its wide arguments first).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "gfx/geometry.h"

namespace rc {

// The process's exit codes, as --help and the README list them.
enum ExitCode : int {
  kExitOk = 0,       // the capture ended: output written, or abandoned by the user
  kExitFailure = 1,  // nothing could be captured or written (no display, unwritable file, ...)
  kExitUsage = 2,    // the command line made no sense
};

struct CommandLineOptions {
  double delaySeconds = 0;        // wait this long before the snapshot
  std::string outputPath;         // file or folder finishing also writes to; empty: none
  std::string format;             // "png", "jpg", "bmp" or "gif"; empty: from the path, else png
  std::optional<Box> region;      // capture this desktop rectangle at once, without the overlay
  bool printGeometry = false;     // print the finished selection as WxH+X+Y on stdout
  bool noWindowSnap = false;      // a click without a drag does not pick a window
  bool help = false;
  bool version = false;
  bool daemon = false;            // stay resident, capturing on the hotkey
  bool quit = false;              // ask a resident instance to end
};

struct ParsedCommandLine {
  CommandLineOptions options;
  // Empty when the arguments are fine; else a message naming the bad one.
  std::string error;
  bool Ok() const { return error.empty(); }
};

// `args` are the arguments after the program's name. Options take their
// value as `--opt value` or `--opt=value`.
ParsedCommandLine ParseCommandLine(const std::vector<std::string>& args);

// What --help prints, options and exit codes.
std::string HelpText();
// What --version prints: "regioncap <version>".
std::string VersionText();

}  // namespace rc
