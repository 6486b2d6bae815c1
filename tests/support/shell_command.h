#pragma once

#include <string>

namespace tarnwick::test {

/// Runs a command line through the shell; its standard output and error go to `output`. The exit
/// status, or -1 when the command did not exit by itself (a crash).
int RunCommand(const std::string& command, std::string& output);

/// The text quoted for the shell as one word.
std::string Quote(const std::string& text);

}  // namespace tarnwick::test
