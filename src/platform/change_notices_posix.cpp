#include "platform/change_notices.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwick::platform {
namespace {

constexpr uint32_t kFolderEvents = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_CREATE | IN_DELETE | IN_MOVED_FROM |
                                   IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr uint32_t kEntryEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr size_t kNoticeBufferSize = 64 * 1024;

}  // namespace

struct ChangeNotices::State {
  int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
};

ChangeNotices::ChangeNotices() : state_(std::make_unique<State>()) {}

ChangeNotices::~ChangeNotices() {
  if (state_->fd >= 0) close(state_->fd);
}

bool ChangeNotices::Available() const {
  return state_->fd >= 0;
}

int ChangeNotices::Follow(const std::string& folder) {
  if (state_->fd < 0) return -1;
  return inotify_add_watch(state_->fd, folder.c_str(), kFolderEvents);
}

std::vector<ChangeNotice> ChangeNotices::Take() {
  std::vector<ChangeNotice> notices;
  if (state_->fd < 0) return notices;
  alignas(inotify_event) char buffer[kNoticeBufferSize];
  for (;;) {
    const ssize_t got = read(state_->fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return notices;
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      ChangeNotice notice;
      notice.folder = event->wd;
      // A name of len bytes is padded with zero bytes; an overflow or the folder's own change has none.
      if (event->len > 0) notice.name = event->name;
      notice.entryCame = (event->mask & kEntryEvents) != 0;
      notice.folderEnded = (event->mask & IN_IGNORED) != 0;
      notices.push_back(std::move(notice));
    }
  }
}

}  // namespace tarnwick::platform
