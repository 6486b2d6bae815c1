#include "support/child_process.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace tarnwick::test {

std::string ChildRole() {
  const char* role = std::getenv(kChildRoleVariable);
  return role != nullptr ? role : "";
}

std::string ChildProcess::CurrentTestFilter() {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  return std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
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

}  // namespace tarnwick::test
