#pragma once

namespace tarnwick::platform {

/// The longest a single pause lasts; a longer request waits this long and reports kWaitTimedOut.
inline constexpr int kLongestWaitMilliseconds = 10000;
/// What WaitMilliseconds returns when it gave up at kLongestWaitMilliseconds.
inline constexpr int kWaitTimedOut = 1;

/// Blocks the calling thread for n milliseconds of the steady clock (at once for n <= 0) and
/// returns 0; a request longer than kLongestWaitMilliseconds waits that long and returns kWaitTimedOut.
/// Safe from any thread; it never returns -1, which is kept as the "could not wait" result of callers.
int WaitMilliseconds(int milliseconds);

}  // namespace tarnwick::platform
