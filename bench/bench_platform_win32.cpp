#include <windows.h>
#include <psapi.h>

#include <vector>

#include "bench_platform.h"
#include "platform/win32/win32_text_encoding.h"

namespace rc::bench {
namespace {

std::string Quoted(const std::string& text) {
  std::string quoted(1, '"');
  quoted.append(text).push_back('"');
  return quoted;
}

}  // namespace

std::string SelfCommand() {
  std::vector<wchar_t> path(32768);
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  if (length == 0 || length >= path.size()) return {};
  return Quoted(WideToUtf8(std::wstring(path.data(), length)));
}

FILE* OpenCommandOutput(const std::string& command) {
  // The command interpreter drops the outer quotes when the line starts with
  // one, so the whole line is wrapped once more.
  return _wpopen(Utf8ToWide(Quoted(command)).c_str(), L"r");
}

bool CloseCommandOutput(FILE* pipe) { return _pclose(pipe) == 0; }

// The working set is what Windows keeps resident, the nearest match to the
// resident set size reported on Linux.
double PeakMemoryMiB() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

// GetThreadTimes advances in clock ticks of about 15 ms, far coarser than
// one message, so Windows reports wall-clock times only.
double ThreadCpuMs() { return -1; }

}  // namespace rc::bench
