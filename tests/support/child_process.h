#pragma once

#include <cstdint>
#include <string>

namespace tarnwick::test {

/// The environment variable that hands a child its role.
inline constexpr char kChildRoleVariable[] = "TARNWICK_TEST_CHILD_ROLE";

/// The role in which StartChild started this test program, or an empty text in a program that
/// the test runner started. A test that starts a child begins with what the child does in its role.
std::string ChildRole();

/// This test program started again, running only the current test, in a role (ChildRole) that
/// makes it do the child's part. Killed, if it still runs, when the object goes.
class ChildProcess {
public:
  /// Starts the child; Running() is false when it could not be started.
  explicit ChildProcess(const std::string& role);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  /// True while the child was started and has not been waited for.
  bool Running() const;
  /// The system's number of the child process.
  long Id() const;
  /// Ends the child at once, with no chance to clean up, and waits for it: -1 when it was killed,
  /// or the exit status of a child that had ended by itself before.
  int Kill();
  /// Waits for the child to end by itself: its exit status, or -1 when it was killed or crashed.
  int Wait();

private:
  // The test program's argument that makes it run only the current test.
  static std::string CurrentTestFilter();

  intptr_t handle_ = -1;  // the process id or handle
  long id_ = 0;
};

}  // namespace tarnwick::test
