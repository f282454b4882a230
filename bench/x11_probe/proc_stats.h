// What /proc tells about a process: CPU time used and peak memory, and which
// process serves an X display.
#pragma once

#include <sys/types.h>

#include <string>

namespace rc::probe {

// CPU time of every thread of `pid`, in milliseconds, at nanosecond
// resolution (schedstat), so that the cost of one pointer move shows.
double CpuMs(pid_t pid);

// Peak resident memory of `pid` in MiB (VmHWM); 0 when unknown.
double PeakRssMiB(pid_t pid);

// The process listening on the display's socket (/tmp/.X11-unix/XN), found
// through the socket's inode; 0 when none is found.
pid_t XServerPid(const std::string& display);

}  // namespace rc::probe
