#pragma once

#include <cstdint>
#include <mutex>

#include "platform/date_time.h"

namespace tarnwick::platform {

/// Where the program takes the current date and time from, so that tests can run at a fixed
/// instant. Implementations may be called from any thread.
class Clock {
public:
  virtual ~Clock() = default;
  /// The current local date and time, to the second; always a valid value.
  virtual DateTime Now() const = 0;
};

/// The system's clock, read as local wall-clock time.
class SystemClock final : public Clock {
public:
  /// The system's current local time; 30 December 1899 only if the system cannot convert it.
  DateTime Now() const override;
};

/// A clock that stands still until it is set or moved; for tests.
class ManualClock final : public Clock {
public:
  /// A clock showing `now`; an invalid value shows 30 December 1899 00:00:00 instead.
  explicit ManualClock(DateTime now);

  /// The time it was last set or moved to.
  DateTime Now() const override;
  /// Shows `now` from here on; an invalid value is ignored.
  void Set(DateTime now);
  /// Moves the time by that many minutes; a move out of the valid range is ignored.
  void AdvanceMinutes(int64_t minutes);

private:
  mutable std::mutex mutex_;
  DateTime now_;
};

}  // namespace tarnwick::platform
