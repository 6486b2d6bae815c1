#include "support/child_process.h"

#include "support/environment.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

extern char** environ;

namespace tarnwick::test {

ChildProcess::ChildProcess(const std::string& role) {
  std::string program = "/proc/self/exe";
  std::string filter = CurrentTestFilter();
  std::vector<char*> arguments{program.data(), filter.data(), nullptr};
  SetEnvironment(kChildRoleVariable, role);
  pid_t child = 0;
  if (posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments.data(), environ) == 0) {
    handle_ = child;
    id_ = child;
  }
  UnsetEnvironment(kChildRoleVariable);
}

int ChildProcess::Kill() {
  if (!Running()) return -1;
  kill(static_cast<pid_t>(handle_), SIGKILL);
  return Wait();
}

int ChildProcess::Wait() {
  if (!Running()) return -1;
  int status = 0;
  waitpid(static_cast<pid_t>(handle_), &status, 0);
  handle_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace tarnwick::test
