#include "support/process_resources.h"

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

namespace tarnwick::test {

std::set<std::string> ThreadIds() {
  std::set<std::string> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  THREADENTRY32 thread{};
  thread.dwSize = sizeof thread;
  for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread)) {
    if (thread.th32OwnerProcessID == GetCurrentProcessId()) ids.insert(std::to_string(thread.th32ThreadID));
  }
  CloseHandle(snapshot);
  return ids;
}

bool UnloadingModulesCanJoinTheirThreads() {
  return false;
}

size_t OpenHandleCount() {
  DWORD count = 0;
  GetProcessHandleCount(GetCurrentProcess(), &count);
  return count;
}

}  // namespace tarnwick::test
