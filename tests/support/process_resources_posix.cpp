#include "support/process_resources.h"

#include <dirent.h>

namespace tarnwick::test {
namespace {

// The names in a folder of /proc/self, without the dot entries' worry: both counts compare alike.
std::set<std::string> Entries(const char* folder) {
  std::set<std::string> names;
  if (DIR* dir = opendir(folder)) {
    while (dirent* entry = readdir(dir)) names.insert(entry->d_name);
    closedir(dir);
  }
  return names;
}

}  // namespace

std::set<std::string> ThreadIds() {
  return Entries("/proc/self/task");
}

bool UnloadingModulesCanJoinTheirThreads() {
  return true;
}

size_t OpenHandleCount() {
  return Entries("/proc/self/fd").size();
}

}  // namespace tarnwick::test
