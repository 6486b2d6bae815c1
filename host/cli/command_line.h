#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace tarnwick::host {

/// Exit codes of the command line.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;
/// Another host kept the data folder locked for longer than the wait.
inline constexpr int kExitBusy = 3;

/// Runs the host's command line: options, then a verb and its arguments (the program name not
/// included). Output goes to `out`, messages to `err`; returns the exit code. Never throws.
int RunCommandLine(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err);

}  // namespace tarnwick::host
