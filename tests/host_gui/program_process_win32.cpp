#include "program_process.h"

#include "platform/wide_text_win32.h"

#include <windows.h>

namespace tarnwick::host::gui::test {
namespace {

// A word of a command line as the C runtime splits it again; a path has no double quote.
std::wstring Quoted(const std::string& word) {
  return L"\"" + platform::WideFromUtf8(word) + L"\"";
}

}  // namespace

ProgramProcess::ProgramProcess(const std::string& program, const std::vector<std::string>& arguments,
                               const std::string& errorsFile) {
  std::wstring commandLine = Quoted(program);
  for (const std::string& argument : arguments) commandLine += L" " + Quoted(argument);
  SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE errors = CreateFileW(platform::WideFromUtf8(errorsFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = errors;
  PROCESS_INFORMATION started{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &started)) {
    CloseHandle(started.hThread);
    handle_ = reinterpret_cast<intptr_t>(started.hProcess);
  }
  if (errors != INVALID_HANDLE_VALUE) CloseHandle(errors);
}

ProgramProcess::~ProgramProcess() {
  if (handle_ == -1) return;
  const auto process = reinterpret_cast<HANDLE>(handle_);
  TerminateProcess(process, 1);
  WaitForSingleObject(process, INFINITE);
  CloseHandle(process);
}

// A crash ends a process with an exception code (0xC0000000 and up).
bool ProgramProcess::HasEnded(int& status) {
  const auto process = reinterpret_cast<HANDLE>(handle_);
  if (handle_ == -1 || WaitForSingleObject(process, 0) != WAIT_OBJECT_0) return false;
  DWORD code = 0;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  handle_ = -1;
  status = code >= 0xC0000000u ? -1 : static_cast<int>(code);
  return true;
}

}  // namespace tarnwick::host::gui::test
