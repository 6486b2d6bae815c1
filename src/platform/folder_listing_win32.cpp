#include "platform/folder_listing.h"
#include "platform/wide_text_win32.h"

#include <windows.h>

namespace tarnwick::platform {

std::optional<std::vector<std::string>> ListFolder(const std::string& folder) {
  WIN32_FIND_DATAW found{};
  HANDLE search =
      FindFirstFileExW(WidePath(folder + "/*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  std::vector<std::string> names;
  if (search == INVALID_HANDLE_VALUE) {
    // An empty drive root has no entries at all; any other folder has "." and "..".
    if (GetLastError() == ERROR_FILE_NOT_FOUND) return names;
    FailWithLastError();
    return std::nullopt;
  }
  do {
    std::string name = Utf8FromWide(found.cFileName);
    if (name != "." && name != "..") names.push_back(std::move(name));
  } while (FindNextFileW(search, &found));
  FindClose(search);
  return names;
}

}  // namespace tarnwick::platform
