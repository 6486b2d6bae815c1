#include "platform/keyboard_state.h"

#include <mutex>
#include <utility>

namespace tarnwick::platform {
namespace {

std::mutex& ProviderLock() {
  static std::mutex lock;
  return lock;
}

KeyStateProvider& CurrentProvider() {
  static KeyStateProvider provider;
  return provider;
}

}  // namespace

bool IsKeyHeld(Key key) {
  KeyStateProvider provider;
  {
    std::lock_guard guard(ProviderLock());
    provider = CurrentProvider();
  }
  // Called outside the lock, so a provider may itself install another.
  return provider ? provider(key) : false;
}

KeyStateProvider SetKeyStateProvider(KeyStateProvider provider) {
  std::lock_guard guard(ProviderLock());
  return std::exchange(CurrentProvider(), std::move(provider));
}

}  // namespace tarnwick::platform
