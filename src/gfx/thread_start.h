// Starting a helper thread where the system may refuse one (a process
// limit, a container's pids limit): the work then runs on the calling
// thread, so the program is slower rather than ended.
#pragma once

#include <functional>
#include <thread>

namespace rc {

// A thread running `work`; where none can be started, `work` has run here
// by the time this returns and the thread returned is not joinable.
std::thread StartThreadOrRunHere(const std::function<void()>& work);

// For tests: while refused, every start fails as under a process limit.
void RefuseThreadStarts(bool refuse);

}  // namespace rc
