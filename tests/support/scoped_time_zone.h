#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

namespace tarnwick::test {

/// Sets a POSIX time zone rule (such as "UTC0" or "JST-9") for one test and puts the old one back
/// afterwards, so that local-time results do not depend on the machine's zone.
class ScopedTimeZone {
public:
  explicit ScopedTimeZone(const char* zone) {
    const char* old = std::getenv("TZ");
    hadOld_ = old != nullptr;
    if (hadOld_) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (hadOld_) {
      setenv("TZ", old_.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
  bool hadOld_ = false;
  std::string old_;
};

}  // namespace tarnwick::test
