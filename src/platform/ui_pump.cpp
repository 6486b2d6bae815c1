#include "platform/ui_pump.h"

#include <algorithm>
#include <mutex>
#include <thread>
#include <utility>

namespace tarnwick::platform {
namespace {

using Clock = std::chrono::steady_clock;

struct InstalledPump {
  MessagePump pump;
  std::thread::id owner;
  Clock::time_point lastDrain;  // when the pump last finished a drain
};

std::mutex& PumpLock() {
  static std::mutex lock;
  return lock;
}

InstalledPump& CurrentPump() {
  static InstalledPump installed;
  return installed;
}

// The pump to run now on this thread, or none: a toolkit's event loop may only be run on its own
// thread, so a call from a worker is a no-op. With `onlyWhenDue`, none until the interval passed.
MessagePump PumpToRun(bool onlyWhenDue) {
  std::lock_guard guard(PumpLock());
  const InstalledPump& installed = CurrentPump();
  if (installed.owner != std::this_thread::get_id()) return {};
  if (onlyWhenDue && Clock::now() - installed.lastDrain < kDrainInterval) return {};
  return installed.pump;
}

void RunPump(const MessagePump& pump) {
  // Called outside the lock: an event handler may itself drain again, or swap the pump.
  pump();
  std::lock_guard guard(PumpLock());
  CurrentPump().lastDrain = Clock::now();
}

}  // namespace

void DrainMessages() {
  if (MessagePump pump = PumpToRun(false)) RunPump(pump);
}

void DrainMessagesWhenDue() {
  if (MessagePump pump = PumpToRun(true)) RunPump(pump);
}

void PaceFor(int milliseconds) {
  const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(std::max(milliseconds, 0));
  for (Clock::time_point now = Clock::now(); now < deadline; now = Clock::now()) {
    DrainMessages();
    std::this_thread::sleep_until(std::min(deadline, Clock::now() + kDrainInterval));
  }
}

MessagePump SetMessagePump(MessagePump pump) {
  std::lock_guard guard(PumpLock());
  InstalledPump& installed = CurrentPump();
  installed.owner = pump ? std::this_thread::get_id() : std::thread::id();
  installed.lastDrain = Clock::time_point();
  return std::exchange(installed.pump, std::move(pump));
}

}  // namespace tarnwick::platform
