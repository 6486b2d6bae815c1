#include "support/child_process.h"

#include "platform/wide_text_win32.h"
#include "support/environment.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <utility>

namespace tarnwick::test {
namespace {

// The exit code that Kill gives the child, which nothing exits with by itself.
constexpr UINT kKilledCode = 0xDEAD;

std::wstring CommandLine(const std::string& filter) {
  wchar_t program[MAX_PATH * 4];
  const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH * 4);
  return L"\"" + std::wstring(program, length) + L"\" " + platform::WideFromUtf8(filter);
}

HANDLE Handle(intptr_t handle) {
  return reinterpret_cast<HANDLE>(handle);
}

}  // namespace

ChildProcess::ChildProcess(const std::string& role) {
  std::wstring command = CommandLine(CurrentTestFilter());
  SetEnvironment(kChildRoleVariable, role);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    handle_ = reinterpret_cast<intptr_t>(process.hProcess);
    id_ = static_cast<long>(process.dwProcessId);
  }
  UnsetEnvironment(kChildRoleVariable);
}

int ChildProcess::Kill() {
  if (!Running()) return -1;
  TerminateProcess(Handle(handle_), kKilledCode);
  return Wait();
}

int ChildProcess::Wait() {
  if (!Running()) return -1;
  WaitForSingleObject(Handle(handle_), INFINITE);
  DWORD code = 0;
  GetExitCodeProcess(Handle(handle_), &code);
  CloseHandle(Handle(std::exchange(handle_, -1)));
  return code == kKilledCode || code >= 0xC0000000u ? -1 : static_cast<int>(code);
}

}  // namespace tarnwick::test
