#include "support/temp_dir.h"

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/folder_listing.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>

namespace tarnwick::test {
namespace {

[[noreturn]] void Abort(const char* what, const std::string& path) {
  std::fprintf(stderr, "%s %s\n", what, path.c_str());
  std::abort();
}

std::filesystem::path SystemPath(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

// Everything under `path`, then `path` itself; what cannot be removed is left.
void RemoveTree(const std::string& path) {
  if (platform::EntryInfo(path).isFolder) {
    for (const std::string& name : platform::ListFolder(path).value_or(std::vector<std::string>{})) {
      RemoveTree(path + "/" + name);
    }
    std::error_code ignored;
    std::filesystem::remove(SystemPath(path), ignored);
  } else {
    platform::RemoveFile(path);
  }
}

}  // namespace

TempDir::TempDir() {
  std::random_device seed;
  std::mt19937 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string path = platform::TemporaryFolder() + "/tarnwick-test-" + std::to_string(random());
    if (platform::MakeFolder(path)) {
      path_ = path;
      return;
    }
    if (errno != EEXIST) break;
  }
  Abort("cannot make a temporary folder under", platform::TemporaryFolder());
}

TempDir::~TempDir() {
  RemoveTree(path_);
}

std::string TempDir::File(const std::string& name) const {
  return path_ + "/" + name;
}

bool MakeSymbolicLink(const std::string& target, const std::string& link) {
  std::error_code error;
  std::filesystem::create_symlink(SystemPath(target), SystemPath(link), error);
  return !error;
}

bool NamesDifferingInCaseAreDistinct(const TempDir& dir) {
  const std::string probe = dir.File("case-probe");
  WriteFileBytes(probe, "");
  const bool distinct = !platform::PathInfo(dir.File("CASE-PROBE")).exists;
  platform::RemoveFile(probe);
  return distinct;
}

// Through the platform's files, which read and write bytes as they are and share the file as the
// program's own openers do.
void WriteFileBytes(const std::string& path, const std::string& bytes) {
  platform::File file = platform::File::Open(path, platform::FileAccess::kWrite, platform::FileCreation::kTruncate);
  if (!file.WriteAll(bytes) || !file.Close()) Abort("cannot write", path);
}

std::string ReadFileBytes(const std::string& path) {
  platform::File file = platform::File::Open(path, platform::FileAccess::kRead, platform::FileCreation::kExisting);
  std::string bytes;
  char buffer[65536];
  for (int64_t got; file.IsOpen() && (got = file.Read(buffer, sizeof buffer)) > 0;) {
    bytes.append(buffer, static_cast<size_t>(got));
  }
  return bytes;
}

}  // namespace tarnwick::test
