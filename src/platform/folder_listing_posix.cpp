#include "platform/folder_listing.h"

#include <dirent.h>

#include <memory>

namespace tarnwick::platform {

std::optional<std::vector<std::string>> ListFolder(const std::string& folder) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* item = readdir(dir.get())) {
    std::string name = item->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  return names;
}

}  // namespace tarnwick::platform
