// Reads arbitrary text as a server's "Retry-After" value. An answer is a valid time; a number of
// seconds is never before now nor more than about ten years after it.

#include "feed/server_answer.h"
#include "platform/clock.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

constexpr double kNowDays = 46000.5;  // a fixed "now" in the 2020s
constexpr double kLongestWaitDays = 10 * 366 + 1;

void Fail(const char* what) {
  std::fprintf(stderr, "server answer: %s\n", what);
  std::abort();
}

bool IsDecimal(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r\n\v\f");
  const size_t last = text.find_last_not_of(" \t\r\n\v\f");
  if (first == std::string_view::npos) return false;
  for (size_t at = first; at <= last; ++at) {
    if (text[at] < '0' || text[at] > '9') return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view value(reinterpret_cast<const char*>(data), size);
  static const tarnwick::platform::ManualClock clock(tarnwick::platform::DateTime::FromDays(kNowDays));
  const std::optional<tarnwick::platform::DateTime> until = tarnwick::feed::RetryAfterTime(value, clock);
  if (!until) {
    if (IsDecimal(value)) Fail("a number of seconds was not read");
    return 0;
  }
  if (!until->IsValid()) Fail("the time is not valid");
  if (IsDecimal(value) && (until->Days() < kNowDays - 1e-6 || until->Days() > kNowDays + kLongestWaitDays)) {
    Fail("a number of seconds gives a time before now or beyond ten years");
  }
  return 0;
}
