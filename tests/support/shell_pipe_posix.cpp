#include "support/shell_command.h"
#include "support/shell_pipe.h"

#include <sys/wait.h>

#include <regex>

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

}  // namespace tarnwick::test
