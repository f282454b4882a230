#include <sys/resource.h>
#include <time.h>
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

// On a machine shared with other work the wall clock also counts the time
// other processes held the core; this is the program's own cost.
double ThreadCpuMs() {
  timespec now{};
  if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) != 0) return -1;
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

}  // namespace rc::bench
