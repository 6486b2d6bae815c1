#include "support/child_process.h"

#include "support/environment.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

extern char** environ;

namespace tarnwick::test {
namespace {

constexpr char kRoleVariable[] = "TARNWICK_TEST_CHILD_ROLE";

std::string CurrentTestFilter() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
}

}  // namespace

std::string ChildRole() {
  const char* role = std::getenv(kRoleVariable);
  return role != nullptr ? role : "";
}

ChildProcess::ChildProcess(const std::string& role) {
  std::string program = "/proc/self/exe";
  std::string filter = CurrentTestFilter();
  std::vector<char*> arguments{program.data(), filter.data(), nullptr};
  SetEnvironment(kRoleVariable, role);
  pid_t child = 0;
  if (posix_spawn(&child, program.c_str(), nullptr, nullptr, arguments.data(), environ) == 0) {
    handle_ = child;
    id_ = child;
  }
  UnsetEnvironment(kRoleVariable);
}

ChildProcess::~ChildProcess() {
  if (Running()) Kill();
}

bool ChildProcess::Running() const {
  return handle_ != -1;
}

long ChildProcess::Id() const {
  return id_;
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
