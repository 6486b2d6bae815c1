#include "core/data_folder_lock.h"

#include "core/host_texts.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

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

DataFolderLock::~DataFolderLock() {
  if (fd_ >= 0) close(fd_);  // closing the only descriptor releases the lock
}

LockOutcome DataFolderLock::Take(std::chrono::milliseconds wait, const std::function<void()>& waiting) {
  if (fd_ < 0 && !OpenLockFile()) return errorText_.empty() ? LockOutcome::kTaken : LockOutcome::kFailed;
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
  fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  writable_ = fd_ >= 0;
  if (fd_ >= 0) return true;
  int error = errno;
  if (IsPermissionError(error)) {
    // Another user's lock file, or a read-only folder: a descriptor for reading locks as well.
    fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ >= 0) return true;
    if (errno == ENOENT || IsPermissionError(errno)) return false;
    error = errno;
  }
  struct stat info {};
  bool folderExists = stat(dataFolder_.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
  errorText_ = folderExists ? CannotWriteText(path_, error) : MissingDataFolderText(dataFolder_);
  return false;
}

bool DataFolderLock::TryLock() {
  while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) errorText_ = CannotWriteText(path_, errno);
    return false;
  }
  return true;
}

// The holder's process id, for the message of a host that has to wait.
void DataFolderLock::RecordHolder() const {
  if (!writable_) return;
  std::string text = std::to_string(getpid()) + "\n";
  if (ftruncate(fd_, 0) != 0 || pwrite(fd_, text.data(), text.size(), 0) != static_cast<ssize_t>(text.size())) {
    // Only the waiting message loses the process id.
  }
}

long DataFolderLock::HolderProcessId() const {
  int fd = open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return 0;
  char text[32] = {};
  ssize_t got = pread(fd, text, sizeof text - 1, 0);
  close(fd);
  if (got <= 0) return 0;
  char* end = nullptr;
  long id = std::strtol(text, &end, 10);
  return end != text && *end == '\n' && id > 0 ? id : 0;
}

}  // namespace tarnwick::host
