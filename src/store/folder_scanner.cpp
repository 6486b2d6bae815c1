#include "store/folder_scanner.h"

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

namespace tarnwick::store {
namespace {

constexpr size_t kGrowStep = 50;

bool Stopped(const std::atomic<int>* stop) { return stop != nullptr && stop->load() != 0; }

FileEntry MakeEntry(const std::string& path, const std::string& name, const struct stat& info) {
  FileEntry entry;
  entry.path = path;
  if (S_ISDIR(info.st_mode)) entry.attributes |= kAttributeDirectory;
  if ((info.st_mode & S_IWUSR) == 0) entry.attributes |= kAttributeReadOnly;
  if (!name.empty() && name.front() == '.') entry.attributes |= kAttributeHidden;
  if (entry.attributes == 0) entry.attributes = kAttributeNormal;
  entry.size = S_ISDIR(info.st_mode) ? 0 : static_cast<uint64_t>(info.st_size);
  entry.created = info.st_ctime;
  entry.accessed = info.st_atime;
  entry.written = info.st_mtime;
  return entry;
}

// The names of a folder in the order the system returns them; empty when it cannot be read.
std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return names;
  while (const dirent* item = readdir(dir.get())) {
    std::string name = item->d_name;
    if (name != "." && name != "..") names.push_back(std::move(name));
  }
  return names;
}

}  // namespace

int FolderScanner::Scan(std::string folder, const std::string& mask, bool recurse, int sortMode,
                        bool includeFolders, const std::atomic<int>* stop, std::atomic<int>* found) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  const std::vector<std::string> names = FolderNames(folder);
  int count = 0;
  auto addOne = [&](const std::string& path, const std::string& name, const struct stat& info) {
    Add(MakeEntry(path, name, info), sortMode);
    ++count;
    if (found != nullptr) found->fetch_add(1);
  };

  for (const std::string& name : names) {
    const std::string path = folder + name;
    struct stat info {};
    if (lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
      if (includeFolders) addOne(path, name, info);
      if (recurse) count += Scan(path + "/", mask, recurse, sortMode, includeFolders, stop, found);
    }
    if (Stopped(stop)) return count;
  }

  for (const std::string& name : names) {
    const std::string path = folder + name;
    struct stat info {};
    if (fnmatch(mask.c_str(), name.c_str(), FNM_CASEFOLD) == 0 && stat(path.c_str(), &info) == 0 &&
        !S_ISDIR(info.st_mode)) {
      addOne(path, name, info);
    }
    if (Stopped(stop)) break;
  }
  return count;
}

size_t FolderScanner::Add(FileEntry entry, int sortMode) {
  auto before = [&](const FileEntry& existing) {
    switch (sortMode) {
      case kScanSizeAscending: return existing.size >= entry.size;
      case kScanSizeDescending: return existing.size <= entry.size;
      case kScanPathAscending: return !(existing.path < entry.path);
      case kScanPathDescending: return !(existing.path > entry.path);
      default: return false;
    }
  };
  if (entries_.size() == entries_.capacity()) entries_.reserve(entries_.size() + kGrowStep);
  auto at = std::find_if(entries_.begin(), entries_.end(), before);
  size_t index = static_cast<size_t>(at - entries_.begin());
  entries_.insert(at, std::move(entry));
  return index;
}

}  // namespace tarnwick::store
