#include <sys/resource.h>
#include <unistd.h>

#include "bench_platform.h"

namespace rc::bench {

std::string SelfCommand() {
  char self[4096] = {};
  if (readlink("/proc/self/exe", self, sizeof self - 1) <= 0) return {};
  // Quoted for the shell, in case the build directory's path has spaces.
  std::string quoted(1, '\'');
  quoted.append(self).push_back('\'');
  return quoted;
}

FILE* OpenCommandOutput(const std::string& command) { return popen(command.c_str(), "r"); }

bool CloseCommandOutput(FILE* pipe) { return pclose(pipe) == 0; }

double PeakMemoryMiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

}  // namespace rc::bench
