#include "platform/file_system.h"
#include "platform/wide_text_win32.h"

#include <windows.h>

#include <string>

namespace tarnwick::platform {
namespace {

constexpr DWORD kLongestPath = 32768;

std::string WithoutTrailingSeparator(std::string path) {
  while (path.size() > 3 && path.back() == '/') path.pop_back();
  return path;
}

}  // namespace

bool RemoveFile(const std::string& path) {
  return DeleteFileW(WidePath(path).c_str()) || FailWithLastError();
}

bool RenameReplacing(const std::string& from, const std::string& to) {
  return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ||
         FailWithLastError();
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
