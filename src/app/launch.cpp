#include "app/launch.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "app/host.h"
#include "app/run.h"
#include "app/settings.h"
#include "output/region_capture.h"

namespace rc {

std::optional<int> AnswerWithoutHost(const ParsedCommandLine& parsed) {
  if (!parsed.Ok()) {
    std::fprintf(stderr, "regioncap: %s\nTry 'regioncap --help'.\n", parsed.error.c_str());
    return kExitUsage;
  }
  if (parsed.options.help || parsed.options.version) {
    std::fputs((parsed.options.help ? HelpText() : VersionText()).c_str(), stdout);
    std::fflush(stdout);
    return kExitOk;
  }
  return std::nullopt;
}

CaptureOptions CaptureOptionsFor(const CommandLineOptions& options) {
  CaptureOptions capture;
  capture.windowSnap = !options.noWindowSnap && LoadSettings().GetBool("window_snap", true);
  capture.outputPath = options.outputPath;
  capture.format = options.format;
  capture.printGeometry = options.printGeometry;
  return capture;
}

int RunFromCommandLine(const CommandLineOptions& options) {
  if (options.delaySeconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(options.delaySeconds));
  const CaptureOptions capture = CaptureOptionsFor(options);
  if (options.region) return CaptureRegion(*options.region, capture);
  RunCapture(capture);
  return kExitOk;
}

}  // namespace rc
