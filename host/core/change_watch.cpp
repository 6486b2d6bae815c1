#include "core/change_watch.h"

#include "platform/text.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace tarnwick::host {
namespace {

constexpr uint32_t kFileEvents = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                 IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr size_t kNoticeBufferSize = 64 * 1024;
constexpr uint32_t kEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;

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

ChangeWatch::ChangeWatch() : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

ChangeWatch::~ChangeWatch() {
  if (fd_ >= 0) close(fd_);
}

bool ChangeWatch::Watch(const std::string& path) {
  if (fd_ < 0) return false;
  const std::string folder = FolderOf(path);
  if (watches_.contains(folder)) return true;
  int wd = inotify_add_watch(fd_, folder.c_str(), kFileEvents);
  if (wd < 0) return false;
  watches_[folder] = wd;
  return true;
}

void ChangeWatch::TakeNotices() {
  if (fd_ < 0) return;
  alignas(inotify_event) char buffer[kNoticeBufferSize];
  for (;;) {
    ssize_t got = read(fd_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      if (event->mask & IN_IGNORED)
        std::erase_if(watches_, [&](const auto& watch) { return watch.second == event->wd; });
      if (event->len == 0) {
        // Overflow, or a folder itself went or moved: nothing can be trusted any more.
        ++epoch_;
        continue;
      }
      ++changes_[KeyOf(event->wd, event->name)];
      if ((event->mask & kEntryEvents) != 0 && NamesTreeEntry(event->name)) ++treeEntries_;
    }
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
