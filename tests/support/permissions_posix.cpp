#include "support/permissions.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick::test {
namespace {

constexpr gid_t kNobodyGroup = 65534;
constexpr uid_t kNobodyUser = 65534;

}  // namespace

bool HasPermissionBits() {
  return true;
}

bool SetPermissions(const std::string& path, int mode) {
  return chmod(path.c_str(), static_cast<mode_t>(mode)) == 0;
}

bool IsSuperUser() {
  return geteuid() == 0;
}

bool GiveUpSuperUser() {
  return !IsSuperUser() || (setgid(kNobodyGroup) == 0 && setuid(kNobodyUser) == 0);
}

}  // namespace tarnwick::test
