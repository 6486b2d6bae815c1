#pragma once

#include "support/environment.h"

#include <cstdlib>
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
    SetEnvironment("TZ", zone);
    ReloadTimeZone();
  }
  ~ScopedTimeZone() {
    if (hadOld_) {
      SetEnvironment("TZ", old_);
    } else {
      UnsetEnvironment("TZ");
    }
    ReloadTimeZone();
  }
  ScopedTimeZone(const ScopedTimeZone&) = delete;
  ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
  bool hadOld_ = false;
  std::string old_;
};

}  // namespace tarnwick::test
