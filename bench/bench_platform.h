// The few operating-system calls the benchmark needs: its sessions run in
// child processes of the same executable, and each reports its peak memory
// and the CPU time its messages took.
#pragma once

#include <cstdio>
#include <string>

namespace rc::bench {

// This executable, quoted for a command line; empty when it cannot be found.
std::string SelfCommand();
FILE* OpenCommandOutput(const std::string& command);
// True when the command ran to a zero exit code.
bool CloseCommandOutput(FILE* pipe);
double PeakMemoryMiB();
// The CPU time this thread has used, in milliseconds; negative where the
// platform keeps it too coarsely to time one message.
double ThreadCpuMs();

}  // namespace rc::bench
