#include "support/environment.h"

#include <cstdlib>
#include <ctime>

namespace tarnwick::test {

// The runtime's own table is changed (getenv and the time functions read it), and with it the
// process's, which the system's functions and started programs read.
void SetEnvironment(const std::string& name, const std::string& value, bool replace) {
  if (!replace && std::getenv(name.c_str()) != nullptr) return;
  _putenv_s(name.c_str(), value.c_str());
}

void UnsetEnvironment(const std::string& name) {
  _putenv_s(name.c_str(), "");
}

void ReloadTimeZone() {
  _tzset();
}

}  // namespace tarnwick::test
