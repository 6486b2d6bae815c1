#include "core/change_watch.h"

#include "platform/text.h"

#include <string_view>

namespace tarnwick::host {
namespace {

// Whether an entry's name is that of a mailbox or of a folder of mailboxes, in any letter case.
bool NamesTreeEntry(std::string_view name) {
  if (name.size() < 4) return false;
  const std::string extension = platform::ToLowerAscii(name.substr(name.size() - 4));
  return extension == ".mbx" || extension == ".fol";
}

std::string FolderOf(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

// Notices name a file by its folder's watch and its name, whatever spelling reached the folder.
std::string KeyOf(int wd, std::string_view name) {
  return std::to_string(wd) + "/" + std::string(name);
}

}  // namespace

bool ChangeWatch::Watch(const std::string& path) {
  if (!notices_.Available()) return false;
  const std::string folder = FolderOf(path);
  if (watches_.contains(folder)) return true;
  int wd = notices_.Follow(folder);
  if (wd < 0) return false;
  watches_[folder] = wd;
  return true;
}

void ChangeWatch::TakeNotices() {
  for (const platform::ChangeNotice& notice : notices_.Take()) {
    if (notice.folderEnded) std::erase_if(watches_, [&](const auto& watch) { return watch.second == notice.folder; });
    if (notice.name.empty()) {
      // Overflow, or a folder itself went or moved: nothing can be trusted any more.
      ++epoch_;
      continue;
    }
    ++changes_[KeyOf(notice.folder, notice.name)];
    if (notice.entryCame && NamesTreeEntry(notice.name)) ++treeEntries_;
  }
}

ChangeStamp ChangeWatch::Stamp(const std::string& first, const std::string& second) {
  TakeNotices();
  auto count = [this](const std::string& path) {
    auto watch = watches_.find(FolderOf(path));
    // A file whose folder is not followed counts as changed every time.
    if (watch == watches_.end()) return ++unfollowed_;
    auto found = changes_.find(KeyOf(watch->second, NameOf(path)));
    return found == changes_.end() ? uint64_t{0} : found->second;
  };
  return {epoch_, count(first), count(second)};
}

uint64_t ChangeWatch::TreeChanges() {
  TakeNotices();
  return epoch_ + treeEntries_;
}

}  // namespace tarnwick::host
