#pragma once

#include <string>

namespace tarnwick::test {

/// Copies the built module `moduleFile` into `pluginsFolder` under its own file name, with the
/// folder of its windows' library when the build has one beside it, as the module is installed.
void InstallModule(const std::string& moduleFile, const std::string& pluginsFolder);

}  // namespace tarnwick::test
