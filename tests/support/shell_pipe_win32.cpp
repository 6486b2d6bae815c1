#include "support/shell_command.h"
#include "support/shell_pipe.h"

#include "platform/wide_text_win32.h"

#include <cstdlib>

namespace tarnwick::test {

// The command interpreter reads the whole line in UTF-16, so paths beyond the code page survive.
// It takes the first and the last double quote of the line off when there are more than two, so
// the line goes in one pair more.
std::FILE* OpenShellPipe(const std::string& command) {
  return _wpopen(platform::WideFromUtf8("\"" + command + "\"").c_str(), L"rb");
}

// An exit status is the process's own; a crash ends it with an exception code (0xC0000000 and up).
int CloseShellPipe(std::FILE* pipe) {
  const int status = _pclose(pipe);
  return status < 0 || static_cast<unsigned>(status) >= 0xC0000000u ? -1 : status;
}

// The command interpreter keeps what stands between double quotes as one word; a double quote
// cannot be in a path.
std::string Quote(const std::string& text) {
  return "\"" + text + "\"";
}

// "/d" changes the drive too.
std::string InFolder(const std::string& folder, const std::string& command) {
  return "cd /d " + Quote(folder) + " && " + command;
}

// A second command interpreter, so that the caller's own redirection of standard error applies to
// it and not to the command.
std::string WithoutStandardError(const std::string& command) {
  return "cmd /c \"" + command + " 2>nul\"";
}

// The command interpreter's "timeout" waits for a key; it has no way to end another program.
std::string WithTimeLimit(int, const std::string& command) {
  return command;
}

bool ShellIsPosix() {
  return false;
}

}  // namespace tarnwick::test
