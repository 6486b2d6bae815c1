#include "platform/file_system.h"

#include <array>
#include <cerrno>
#include <mutex>
#include <random>

namespace tarnwick::platform {
namespace {

constexpr int kUniqueNameAttempts = 100;
constexpr size_t kUniqueNameLength = 6;
constexpr std::string_view kNameCharacters = "abcdefghijklmnopqrstuvwxyz0123456789";

// One generator for the process: thread storage of its size would not fit the space the system
// keeps for modules loaded at run time.
std::string RandomName() {
  static std::mutex lock;
  static std::mt19937 generator{std::random_device{}()};
  std::lock_guard guard(lock);
  std::uniform_int_distribution<size_t> pick(0, kNameCharacters.size() - 1);
  std::string name(kUniqueNameLength, '\0');
  for (char& c : name) c = kNameCharacters[pick(generator)];
  return name;
}

}  // namespace

bool IsFolder(const std::string& path) {
  return PathInfo(path).isFolder;
}

File CreateUniqueFile(const std::string& prefix, std::string& path) {
  for (int attempt = 0; attempt < kUniqueNameAttempts; ++attempt) {
    path = prefix + RandomName();
    File file = File::Open(path, FileAccess::kReadWrite, FileCreation::kCreateNew);
    if (file.IsOpen() || errno != EEXIST) return file;
  }
  return {};
}

}  // namespace tarnwick::platform
