#include "core/data_folder_lock.h"

#include "core/host_texts.h"
#include "platform/file_system.h"
#include "platform/process.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <string>
#include <thread>

namespace tarnwick::host {
namespace {

constexpr std::chrono::milliseconds kRetryInterval{100};

bool IsPermissionError(int error) {
  return error == EACCES || error == EPERM || error == EROFS;
}

}  // namespace

DataFolderLock::DataFolderLock(const std::string& dataFolder)
    : dataFolder_(dataFolder), path_(dataFolder + "/" + kDataFolderLockFileName) {}

// Closing the only handle of the lock file (with file_) releases the lock.
DataFolderLock::~DataFolderLock() = default;

LockOutcome DataFolderLock::Take(std::chrono::milliseconds wait, const std::function<void()>& waiting) {
  if (!file_.IsOpen() && !OpenLockFile()) return errorText_.empty() ? LockOutcome::kTaken : LockOutcome::kFailed;
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (bool first = true;; first = false) {
    if (TryLock()) {
      RecordHolder();
      return LockOutcome::kTaken;
    }
    if (!errorText_.empty()) return LockOutcome::kFailed;
    if (first && waiting) waiting();
    auto now = std::chrono::steady_clock::now();
    if (now >= deadline) return LockOutcome::kBusy;
    std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(kRetryInterval, deadline - now));
  }
}

// False with ErrorText empty when the folder may not be written here, so that there is no lock
// file to open; false with ErrorText set when the folder is missing or the file unusable.
bool DataFolderLock::OpenLockFile() {
  errorText_.clear();
  file_ = platform::File::Open(path_, platform::FileAccess::kReadWrite, platform::FileCreation::kCreate);
  writable_ = file_.IsOpen();
  if (file_.IsOpen()) return true;
  int error = errno;
  if (IsPermissionError(error)) {
    // Another user's lock file, or a read-only folder: a handle for reading locks as well.
    file_ = platform::File::Open(path_, platform::FileAccess::kRead, platform::FileCreation::kExisting);
    if (file_.IsOpen()) return true;
    if (errno == ENOENT || IsPermissionError(errno)) return false;
    error = errno;
  }
  bool folderExists = platform::IsFolder(dataFolder_);
  errorText_ = folderExists ? CannotWriteText(path_, error) : MissingDataFolderText(dataFolder_);
  return false;
}

bool DataFolderLock::TryLock() {
  const platform::LockResult result = file_.TryLock();
  if (result == platform::LockResult::kFailed) errorText_ = CannotWriteText(path_, errno);
  return result == platform::LockResult::kLocked;
}

// The holder's process id, for the message of a host that has to wait.
void DataFolderLock::RecordHolder() {
  if (!writable_) return;
  std::string text = std::to_string(platform::CurrentProcessId()) + "\n";
  if (!file_.Truncate(0) || !file_.WriteAt(text, 0)) {
    // Only the waiting message loses the process id.
  }
}

long DataFolderLock::HolderProcessId() const {
  platform::File file = platform::File::Open(path_, platform::FileAccess::kRead, platform::FileCreation::kExisting);
  if (!file.IsOpen()) return 0;
  char text[32] = {};
  const int64_t got = file.ReadAt(text, sizeof text - 1, 0);
  if (got <= 0) return 0;
  char* end = nullptr;
  long id = std::strtol(text, &end, 10);
  return end != text && *end == '\n' && id > 0 ? id : 0;
}

}  // namespace tarnwick::host
