#include "platform/file.h"
#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace tarnwick::platform {
namespace {

constexpr mode_t kNewFileMode = 0644;

int OpenFlags(FileAccess access, FileCreation creation) {
  int flags = O_CLOEXEC;
  switch (access) {
    case FileAccess::kRead:
      flags |= O_RDONLY;
      break;
    case FileAccess::kWrite:
      flags |= O_WRONLY;
      break;
    case FileAccess::kReadWrite:
      flags |= O_RDWR;
      break;
    case FileAccess::kAppend:
      flags |= O_RDWR | O_APPEND;
      break;
  }
  switch (creation) {
    case FileCreation::kExisting:
      break;
    case FileCreation::kCreate:
      flags |= O_CREAT;
      break;
    case FileCreation::kCreateNew:
      flags |= O_CREAT | O_EXCL;
      break;
    case FileCreation::kTruncate:
      flags |= O_CREAT | O_TRUNC;
      break;
  }
  return flags;
}

int Descriptor(intptr_t handle) {
  return static_cast<int>(handle);
}

FileInfo InfoFromStat(const struct stat& status) {
  FileInfo info;
  info.exists = true;
  info.isFolder = S_ISDIR(status.st_mode);
  info.readOnly = (status.st_mode & S_IWUSR) == 0;
  info.size = info.isFolder ? 0 : static_cast<uint64_t>(status.st_size);
  info.createdSeconds = status.st_ctime;
  info.accessedSeconds = status.st_atime;
  info.modifiedSeconds = status.st_mtim.tv_sec;
  info.modifiedNanoseconds = status.st_mtim.tv_nsec;
  info.changedNanoseconds = int64_t{status.st_ctim.tv_sec} * 1'000'000'000 + status.st_ctim.tv_nsec;
  info.volume = status.st_dev;
  info.identity = status.st_ino;
  return info;
}

}  // namespace

// The path functions of file_system.h that describe a file live here, beside File::Info.
FileInfo PathInfo(const std::string& path) {
  struct stat status {};
  return stat(path.c_str(), &status) == 0 ? InfoFromStat(status) : FileInfo{};
}

FileInfo EntryInfo(const std::string& path) {
  struct stat status {};
  return lstat(path.c_str(), &status) == 0 ? InfoFromStat(status) : FileInfo{};
}

File File::Open(const std::string& path, FileAccess access, FileCreation creation) {
  const int fd = open(path.c_str(), OpenFlags(access, creation), kNewFileMode);
  return fd < 0 ? File() : File(fd);
}

int64_t File::Read(void* buffer, size_t size) {
  for (;;) {
    const ssize_t got = read(Descriptor(handle_), buffer, size);
    if (got < 0 && errno == EINTR) continue;
    return got;
  }
}

int64_t File::ReadAt(void* buffer, size_t size, uint64_t offset) {
  for (;;) {
    const ssize_t got = pread(Descriptor(handle_), buffer, size, static_cast<off_t>(offset));
    if (got < 0 && errno == EINTR) continue;
    return got;
  }
}

int64_t File::Write(const void* bytes, size_t size) {
  for (;;) {
    const ssize_t put = write(Descriptor(handle_), bytes, size);
    if (put < 0 && errno == EINTR) continue;
    return put;
  }
}

bool File::WriteAt(std::string_view bytes, uint64_t offset) {
  while (!bytes.empty()) {
    const ssize_t put = pwrite(Descriptor(handle_), bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(put));
    offset += static_cast<uint64_t>(put);
  }
  return true;
}

int64_t File::Position() const {
  return lseek(Descriptor(handle_), 0, SEEK_CUR);
}

int64_t File::SeekToEnd() {
  return lseek(Descriptor(handle_), 0, SEEK_END);
}

bool File::Truncate(uint64_t size) {
  return ftruncate(Descriptor(handle_), static_cast<off_t>(size)) == 0;
}

bool File::Sync() {
  return fsync(Descriptor(handle_)) == 0;
}

FileInfo File::Info() const {
  struct stat status {};
  if (fstat(Descriptor(handle_), &status) != 0) return {};
  return InfoFromStat(status);
}

void File::TakePermissionsOf(const std::string& path) {
  struct stat status {};
  fchmod(Descriptor(handle_), stat(path.c_str(), &status) == 0 ? (status.st_mode & 07777) : kNewFileMode);
}

LockResult File::TryLock() {
  while (flock(Descriptor(handle_), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    return errno == EWOULDBLOCK ? LockResult::kBusy : LockResult::kFailed;
  }
  return LockResult::kLocked;
}

bool File::Close() {
  if (!IsOpen()) return true;
  return close(Descriptor(std::exchange(handle_, kClosed))) == 0;
}

}  // namespace tarnwick::platform
