#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tarnwick::host::gui::test {

/// Another program started with arguments, its standard error going to a file. Killed, if it still
/// runs, when the object goes.
class ProgramProcess {
public:
  ProgramProcess(const std::string& program, const std::vector<std::string>& arguments, const std::string& errorsFile);
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  /// False when the program could not be started.
  bool Started() const { return handle_ != -1; }
  /// Looks without waiting whether the program has ended; if so, `status` is its exit status, or
  /// -1 when it did not exit by itself.
  bool HasEnded(int& status);

private:
  intptr_t handle_ = -1;  // the process id or handle
};

}  // namespace tarnwick::host::gui::test
