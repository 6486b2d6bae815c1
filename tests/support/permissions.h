#pragma once

#include <string>

namespace tarnwick::test {

/// The reason a test of POSIX permission bits is skipped where files have none.
inline constexpr char kNoPermissionBitsReason[] = "this system's files have no POSIX permission bits";

/// True where files carry POSIX permission bits that a process without the super-user's rights obeys.
bool HasPermissionBits();
/// Sets the permission bits of `path` (0755 ...). False when it cannot, or where there are none.
bool SetPermissions(const std::string& path, int mode);
/// True when this process may write anywhere whatever the permission bits say (the super-user).
bool IsSuperUser();
/// Leaves the super-user's rights for an ordinary user's, for good (in a test's child process);
/// true when the process has no such rights afterwards.
bool GiveUpSuperUser();

}  // namespace tarnwick::test
