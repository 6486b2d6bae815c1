#include "platform/change_notices.h"
#include "platform/wide_text_win32.h"

#include <windows.h>

#include <list>

namespace tarnwick::platform {
namespace {

constexpr DWORD kNoticeBufferSize = 64 * 1024;
constexpr DWORD kChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME | FILE_NOTIFY_CHANGE_ATTRIBUTES |
                           FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_CREATION;

// One followed folder with its read of changes under way.
struct Watch {
  int number = -1;
  HANDLE folder = INVALID_HANDLE_VALUE;
  OVERLAPPED overlapped{};
  alignas(DWORD) char buffer[kNoticeBufferSize];

  bool StartRead() {
    overlapped = OVERLAPPED{};
    return ReadDirectoryChangesW(folder, buffer, sizeof buffer, FALSE, kChanges, nullptr, &overlapped, nullptr);
  }
};

bool NamesEntryChange(DWORD action) {
  return action == FILE_ACTION_ADDED || action == FILE_ACTION_REMOVED || action == FILE_ACTION_RENAMED_OLD_NAME ||
         action == FILE_ACTION_RENAMED_NEW_NAME;
}

void Decode(const Watch& watch, DWORD size, std::vector<ChangeNotice>& notices) {
  for (DWORD at = 0; at < size;) {
    const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(watch.buffer + at);
    ChangeNotice notice;
    notice.folder = watch.number;
    notice.name = Utf8FromWide(std::wstring_view(record->FileName, record->FileNameLength / sizeof(wchar_t)));
    notice.entryCame = NamesEntryChange(record->Action);
    notices.push_back(std::move(notice));
    if (record->NextEntryOffset == 0) break;
    at += record->NextEntryOffset;
  }
}

// Takes what the watch's finished reads hold, starting the next read after each (changes made in
// between are held for it and finish it at once). False when the folder cannot be followed any more.
bool TakeFinished(Watch& watch, std::vector<ChangeNotice>& notices) {
  for (;;) {
    DWORD size = 0;
    if (!GetOverlappedResult(watch.folder, &watch.overlapped, &size, FALSE))
      return GetLastError() == ERROR_IO_INCOMPLETE;
    // No bytes: more changes came than the buffer holds, and anything may have changed.
    if (size == 0) notices.push_back({watch.number, {}, false, false});
    Decode(watch, size, notices);
    if (!watch.StartRead()) return false;
  }
}

}  // namespace

struct ChangeNotices::State {
  std::list<Watch> watches;  // a list: each read writes into its watch's buffer, which must not move
  int nextNumber = 1;
};

ChangeNotices::ChangeNotices() : state_(std::make_unique<State>()) {}

ChangeNotices::~ChangeNotices() {
  for (Watch& watch : state_->watches) {
    CancelIo(watch.folder);
    DWORD ignored = 0;
    GetOverlappedResult(watch.folder, &watch.overlapped, &ignored, TRUE);
    CloseHandle(watch.folder);
  }
}

bool ChangeNotices::Available() const {
  return true;
}

int ChangeNotices::Follow(const std::string& folder) {
  HANDLE handle =
      CreateFileW(WidePath(folder).c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return -1;
  Watch& watch = state_->watches.emplace_back();
  watch.folder = handle;
  watch.number = state_->nextNumber++;
  if (!watch.StartRead()) {
    CloseHandle(handle);
    state_->watches.pop_back();
    return -1;
  }
  return watch.number;
}

std::vector<ChangeNotice> ChangeNotices::Take() {
  std::vector<ChangeNotice> notices;
  for (auto watch = state_->watches.begin(); watch != state_->watches.end();) {
    if (TakeFinished(*watch, notices)) {
      ++watch;
      continue;
    }
    // The folder went away or cannot be read any more: it is no longer followed.
    notices.push_back({watch->number, {}, false, true});
    CloseHandle(watch->folder);
    watch = state_->watches.erase(watch);
  }
  return notices;
}

}  // namespace tarnwick::platform
