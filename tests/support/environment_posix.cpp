#include "support/environment.h"

#include <cstdlib>
#include <ctime>

namespace tarnwick::test {

void SetEnvironment(const std::string& name, const std::string& value, bool replace) {
  setenv(name.c_str(), value.c_str(), replace ? 1 : 0);
}

void UnsetEnvironment(const std::string& name) {
  unsetenv(name.c_str());
}

void ReloadTimeZone() {
  tzset();
}

}  // namespace tarnwick::test
