#include "platform/clock.h"

#include <chrono>

namespace tarnwick::platform {

DateTime SystemClock::Now() const {
  DateTime now = DateTime::FromTimePoint(std::chrono::system_clock::now());
  // Callers rely on a valid value; only a broken time zone database could refuse the conversion.
  return now.IsValid() ? now : DateTime::FromDays(0);
}

ManualClock::ManualClock(DateTime now) : now_(now.IsValid() ? now : DateTime::FromDays(0)) {}

DateTime ManualClock::Now() const {
  std::lock_guard lock(mutex_);
  return now_;
}

void ManualClock::Set(DateTime now) {
  if (!now.IsValid()) return;
  std::lock_guard lock(mutex_);
  now_ = now;
}

void ManualClock::AdvanceMinutes(int64_t minutes) {
  std::lock_guard lock(mutex_);
  DateTime moved = now_.AddMinutes(minutes);
  if (moved.IsValid()) now_ = moved;
}

}  // namespace tarnwick::platform
