#include "store/folder_scanner.h"

#include "platform/file_system.h"
#include "platform/folder_listing.h"

#include <algorithm>

namespace tarnwick::store {
namespace {

constexpr size_t kGrowStep = 50;

bool Stopped(const std::atomic<int>* stop) {
  return stop != nullptr && stop->load() != 0;
}

FileEntry MakeEntry(const std::string& path, const std::string& name, const platform::FileInfo& info) {
  FileEntry entry;
  entry.path = path;
  if (info.isFolder) entry.attributes |= kAttributeDirectory;
  if (info.readOnly) entry.attributes |= kAttributeReadOnly;
  if (!name.empty() && name.front() == '.') entry.attributes |= kAttributeHidden;
  if (entry.attributes == 0) entry.attributes = kAttributeNormal;
  entry.size = info.size;
  entry.created = static_cast<std::time_t>(info.createdSeconds);
  entry.accessed = static_cast<std::time_t>(info.accessedSeconds);
  entry.written = static_cast<std::time_t>(info.modifiedSeconds);
  return entry;
}

// The names of a folder in the order the system returns them; empty when it cannot be read.
std::vector<std::string> FolderNames(const std::string& folder) {
  return platform::ListFolder(folder).value_or(std::vector<std::string>());
}

}  // namespace

int FolderScanner::Scan(std::string folder, const std::string& mask, bool recurse, int sortMode, bool includeFolders,
                        const std::atomic<int>* stop, std::atomic<int>* found) {
  if (folder.empty() || folder.back() != '/') folder += '/';
  const std::vector<std::string> names = FolderNames(folder);
  int count = 0;
  auto addOne = [&](const std::string& path, const std::string& name, const platform::FileInfo& info) {
    Add(MakeEntry(path, name, info), sortMode);
    ++count;
    if (found != nullptr) found->fetch_add(1);
  };

  for (const std::string& name : names) {
    const std::string path = folder + name;
    const platform::FileInfo info = platform::EntryInfo(path);
    if (info.isFolder) {
      if (includeFolders) addOne(path, name, info);
      if (recurse) count += Scan(path + "/", mask, recurse, sortMode, includeFolders, stop, found);
    }
    if (Stopped(stop)) return count;
  }

  for (const std::string& name : names) {
    const std::string path = folder + name;
    if (platform::MatchesMask(mask, name)) {
      const platform::FileInfo info = platform::PathInfo(path);
      if (info.exists && !info.isFolder) addOne(path, name, info);
    }
    if (Stopped(stop)) break;
  }
  return count;
}

size_t FolderScanner::Add(FileEntry entry, int sortMode) {
  auto before = [&](const FileEntry& existing) {
    switch (sortMode) {
      case kScanSizeAscending:
        return existing.size >= entry.size;
      case kScanSizeDescending:
        return existing.size <= entry.size;
      case kScanPathAscending:
        return !(existing.path < entry.path);
      case kScanPathDescending:
        return !(existing.path > entry.path);
      default:
        return false;
    }
  };
  if (entries_.size() == entries_.capacity()) entries_.reserve(entries_.size() + kGrowStep);
  auto at = std::find_if(entries_.begin(), entries_.end(), before);
  size_t index = static_cast<size_t>(at - entries_.begin());
  entries_.insert(at, std::move(entry));
  return index;
}

}  // namespace tarnwick::store
