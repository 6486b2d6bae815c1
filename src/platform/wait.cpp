#include "platform/wait.h"

#include <chrono>
#include <thread>

namespace tarnwick::platform {

int WaitMilliseconds(int milliseconds) {
  using Clock = std::chrono::steady_clock;
  int bounded = milliseconds > kLongestWaitMilliseconds ? kLongestWaitMilliseconds : milliseconds;
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(bounded > 0 ? bounded : 0);
  // sleep_until may wake early on a signal; going round until the steady clock has passed the
  // deadline keeps the promise that at least the asked time went by.
  while (Clock::now() < deadline) std::this_thread::sleep_until(deadline);
  return milliseconds > kLongestWaitMilliseconds ? kWaitTimedOut : 0;
}

}  // namespace tarnwick::platform
