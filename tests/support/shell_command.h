#pragma once

#include <string>

namespace tarnwick::test {

/// Runs a command line through the shell; its standard output and error go to `output`. The exit
/// status, or -1 when the command did not exit by itself (a crash).
int RunCommand(const std::string& command, std::string& output);

/// The text quoted for the shell as one word.
std::string Quote(const std::string& text);

/// The command line that runs `command` in `folder`.
std::string InFolder(const std::string& folder, const std::string& command);
/// The command line that runs `command` with its standard error thrown away.
std::string WithoutStandardError(const std::string& command);
/// The command line that ends `command` after `seconds` with exit status 124. Where the system has
/// no such tool, it is `command` itself and the test runner's time limit ends a hang.
std::string WithTimeLimit(int seconds, const std::string& command);
/// True where command lines go to a POSIX shell, the one cron and systemd run lines with.
bool ShellIsPosix();

}  // namespace tarnwick::test
