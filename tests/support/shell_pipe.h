#pragma once

#include <cstdio>
#include <string>

namespace tarnwick::test {

/// Starts a command line through the system's shell, its standard output readable from the stream
/// returned (bytes as they are); null when it cannot be started.
std::FILE* OpenShellPipe(const std::string& command);
/// Waits for the command of OpenShellPipe and closes the stream: its exit status, or -1 when it
/// did not exit by itself (a crash).
int CloseShellPipe(std::FILE* pipe);

}  // namespace tarnwick::test
