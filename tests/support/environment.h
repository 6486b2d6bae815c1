#pragma once

#include <string>

namespace tarnwick::test {

/// Sets the environment variable `name` of this process (and of the programs it starts) to
/// `value`; with `replace` false, a variable that is set already is kept.
void SetEnvironment(const std::string& name, const std::string& value, bool replace = true);
/// Removes the environment variable `name`.
void UnsetEnvironment(const std::string& name);
/// Makes the runtime read TZ again, after it was changed.
void ReloadTimeZone();

}  // namespace tarnwick::test
