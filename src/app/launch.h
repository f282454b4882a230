// What both entry points do with the command line, around the host they make.
#pragma once

#include <optional>

#include "app/capture_options.h"
#include "app/command_line.h"

namespace rc {

// Answers what needs no display: bad usage (a message on stderr, exit 2),
// --help and --version (on stdout, exit 0). Nothing: go on to a capture.
std::optional<int> AnswerWithoutHost(const ParsedCommandLine& parsed);

// The capture's options: the command line's, over the settings file's.
CaptureOptions CaptureOptionsFor(const CommandLineOptions& options);

// On the installed host: waits --delay, then captures --region at once and
// returns the exit code, or runs the interactive capture, which does not
// return on a real host.
int RunFromCommandLine(const CommandLineOptions& options);

}  // namespace rc
