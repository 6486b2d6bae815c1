#include "support/shell_command.h"

#include "support/shell_pipe.h"

#include <cstdio>
#include <regex>

namespace tarnwick::test {

int RunCommand(const std::string& command, std::string& output) {
  output.clear();
  std::FILE* pipe = OpenShellPipe(command + " 2>&1");
  if (pipe == nullptr) return -1;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
  return CloseShellPipe(pipe);
}

}  // namespace tarnwick::test
