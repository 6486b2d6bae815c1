#include "platform/file_system.h"
#include "platform/wide_text_win32.h"

#include <windows.h>

#include <atomic>
#include <string>

namespace tarnwick::platform {
namespace {

constexpr DWORD kLongestPath = 32768;
constexpr DWORD kReplace = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;

// Windows refuses to rename over a file that another opener holds, and keeps the name of a deleted
// file taken until its last opener closes it, even when every opener allowed deletion. Such a file
// is first renamed to a unique name beside it (allowed, as every opener shares deletion) and deleted
// there: its openers keep reading what they opened, and its own name is free at once.
std::wstring AsideName(const std::wstring& path) {
  static std::atomic<unsigned> counter{0};
  return path + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) + L".deleted";
}

bool IsHeldByAnotherOpener(DWORD error) {
  return error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION;
}

// Deletes a file that no one else holds: opening it without sharing succeeds only then, and
// closing it deletes it.
bool DeleteUnheld(const std::wstring& path) {
  HANDLE handle = CreateFileW(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  return handle != INVALID_HANDLE_VALUE && CloseHandle(handle);
}

bool MoveAsideAndDelete(const std::wstring& path) {
  const std::wstring aside = AsideName(path);
  if (!MoveFileExW(path.c_str(), aside.c_str(), 0)) return false;
  DeleteFileW(aside.c_str());  // gone when its last opener closes it
  return true;
}

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 3 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

bool RemoveFile(const std::string& path) {
  const std::wstring wide = WidePath(path);
  if (DeleteUnheld(wide)) return true;
  if (GetLastError() != ERROR_SHARING_VIOLATION) return FailWithLastError();
  return MoveAsideAndDelete(wide) || FailWithLastError();
}

bool RenameReplacing(const std::string& from, const std::string& to) {
  const std::wstring source = WidePath(from);
  const std::wstring target = WidePath(to);
  if (MoveFileExW(source.c_str(), target.c_str(), kReplace)) return true;
  if (!IsHeldByAnotherOpener(GetLastError()) || GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES) {
    return FailWithLastError();
  }
  // The target is held open: its name is freed first. A reader opening it in between finds no file
  // for a moment, as with any replacement that is not one step.
  const std::wstring aside = AsideName(target);
  if (!MoveFileExW(target.c_str(), aside.c_str(), 0)) return FailWithLastError();
  if (!MoveFileExW(source.c_str(), target.c_str(), kReplace)) {
    const DWORD error = GetLastError();
    MoveFileExW(aside.c_str(), target.c_str(), 0);  // the old file back under its name
    SetLastError(error);
    return FailWithLastError();
  }
  DeleteFileW(aside.c_str());  // gone when its last opener closes it
  return true;
}

bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(WidePath(path).c_str(), nullptr) || FailWithLastError();
}

std::string AbsolutePath(const std::string& path) {
  std::wstring full(kLongestPath, L'\0');
  const DWORD length = GetFullPathNameW(WidePath(path).c_str(), kLongestPath, full.data(), nullptr);
  if (length == 0 || length >= kLongestPath) {
    FailWithLastError();
    return {};
  }
  full.resize(length);
  std::string absolute = WithoutTrailingSeparator(PathFromWide(full));
  return PathInfo(absolute).exists ? absolute : std::string();
}

std::string ExecutablePath() {
  std::wstring path(kLongestPath, L'\0');
  const DWORD length = GetModuleFileNameW(nullptr, path.data(), kLongestPath);
  if (length == 0 || length >= kLongestPath) return {};
  path.resize(length);
  return PathFromWide(path);
}

std::string TemporaryFolder() {
  std::wstring folder(MAX_PATH + 1, L'\0');
  const DWORD length = GetTempPathW(MAX_PATH + 1, folder.data());
  if (length == 0 || length > MAX_PATH) return ".";
  folder.resize(length);
  return WithoutTrailingSeparator(PathFromWide(folder));
}

}  // namespace tarnwick::platform
