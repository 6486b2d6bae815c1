#include "support/shell_command.h"
#include "support/shell_pipe.h"

#include <sys/wait.h>

#include <regex>
#include <string>

namespace tarnwick::test {

std::FILE* OpenShellPipe(const std::string& command) {
  return popen(command.c_str(), "r");
}

int CloseShellPipe(std::FILE* pipe) {
  const int status = pclose(pipe);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string Quote(const std::string& text) {
  return "'" + std::regex_replace(text, std::regex("'"), "'\\''") + "'";
}

std::string InFolder(const std::string& folder, const std::string& command) {
  return "cd " + Quote(folder) + " && " + command;
}

std::string WithoutStandardError(const std::string& command) {
  return "(" + command + " 2>/dev/null)";
}

std::string WithTimeLimit(int seconds, const std::string& command) {
  return "timeout " + std::to_string(seconds) + " " + command;
}

bool ShellIsPosix() {
  return true;
}

}  // namespace tarnwick::test
