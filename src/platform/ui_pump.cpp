#include "platform/ui_pump.h"

#include <mutex>
#include <thread>
#include <utility>

namespace tarnwick::platform {
namespace {

struct InstalledPump {
  MessagePump pump;
  std::thread::id owner;
};

std::mutex& PumpLock() {
  static std::mutex lock;
  return lock;
}

InstalledPump& CurrentPump() {
  static InstalledPump installed;
  return installed;
}

}  // namespace

void DrainMessages() {
  MessagePump pump;
  {
    std::lock_guard guard(PumpLock());
    // A toolkit's event loop may only be run on its own thread; a call from a worker is a no-op.
    if (CurrentPump().owner != std::this_thread::get_id()) return;
    pump = CurrentPump().pump;
  }
  // Called outside the lock: an event handler may itself drain again, or swap the pump.
  if (pump) pump();
}

MessagePump SetMessagePump(MessagePump pump) {
  std::lock_guard guard(PumpLock());
  InstalledPump& installed = CurrentPump();
  installed.owner = pump ? std::this_thread::get_id() : std::thread::id();
  return std::exchange(installed.pump, std::move(pump));
}

}  // namespace tarnwick::platform
