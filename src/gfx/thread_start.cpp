#include "gfx/thread_start.h"

#include <atomic>
#include <cerrno>
#include <system_error>

namespace rc {

namespace {

std::atomic<bool> g_refused{false};

}  // namespace

std::thread StartThreadOrRunHere(const std::function<void()>& work) {
  try {
    if (g_refused) throw std::system_error(EAGAIN, std::generic_category(), "thread start refused");
    return std::thread(work);
  } catch (const std::system_error&) {
    work();
    return {};
  }
}

void RefuseThreadStarts(bool refuse) { g_refused = refuse; }

}  // namespace rc
