#include "platform/file_system.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace tarnwick::platform {

bool RemoveFile(const std::string& path) {
  return unlink(path.c_str()) == 0;
}

bool RenameReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool MakeFolder(const std::string& path) {
  return mkdir(path.c_str(), 0755) == 0;
}

std::string AbsolutePath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> absolute(realpath(path.c_str(), nullptr), &std::free);
  return absolute ? std::string(absolute.get()) : std::string();
}

std::string ExecutablePath() {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

std::string TemporaryFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

}  // namespace tarnwick::platform
