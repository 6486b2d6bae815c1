#include "core/file_ops.h"

#include "core/host_texts.h"
#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace tarnwick::host {
namespace {

FileState FromStat(const struct stat& info) {
  FileState state;
  state.exists = true;
  state.size = static_cast<uint64_t>(info.st_size);
  state.modifiedSeconds = info.st_mtim.tv_sec;
  state.modifiedNanoseconds = info.st_mtim.tv_nsec;
  state.inode = info.st_ino;
  return state;
}

}  // namespace

FileState StatePath(const std::string& path, int* errorNumber) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    if (errorNumber != nullptr) *errorNumber = errno;
    return {};
  }
  return FromStat(info);
}

FileState StateOfDescriptor(int fd) {
  struct stat info {};
  if (fstat(fd, &info) != 0) return {};
  return FromStat(info);
}

StoreStatus ReadRange(const std::string& path, uint64_t offset, uint64_t length, std::string& bytes) {
  bytes.assign(length, '\0');
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return StoreStatus::Failure(CannotReadText(path, errno));
  uint64_t done = 0;
  while (done < length) {
    ssize_t got = pread(fd, bytes.data() + done, length - done, static_cast<off_t>(offset + done));
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      int error = errno;
      close(fd);
      return StoreStatus::Failure(CannotReadText(path, error));
    }
    if (got == 0) {
      close(fd);
      return StoreStatus::Failure(ChangedUnderfootText(path));
    }
    done += static_cast<uint64_t>(got);
  }
  close(fd);
  return StoreStatus::Success();
}

int CreateSiblingTemporary(const std::string& path, std::string& temporaryPath, std::string& errorText) {
  temporaryPath = path + ".XXXXXX";
  int fd = mkostemp(temporaryPath.data(), O_CLOEXEC);
  if (fd < 0) {
    errorText = CannotWriteText(path, errno);
    return -1;
  }
  struct stat info {};
  mode_t mode = 0644;
  if (stat(path.c_str(), &info) == 0) mode = info.st_mode & 07777;
  fchmod(fd, mode);
  return fd;
}

StoreStatus ReplaceFile(const std::string& path, std::string_view bytes, FileState* state) {
  std::string temporaryPath;
  std::string errorText;
  int fd = CreateSiblingTemporary(path, temporaryPath, errorText);
  if (fd < 0) return StoreStatus::Failure(errorText);
  if (!platform::WriteAll(fd, bytes) || fsync(fd) != 0) {
    int error = errno;
    close(fd);
    unlink(temporaryPath.c_str());
    return StoreStatus::Failure(CannotWriteText(path, error));
  }
  if (state != nullptr) *state = StateOfDescriptor(fd);
  close(fd);
  if (rename(temporaryPath.c_str(), path.c_str()) != 0) {
    int error = errno;
    unlink(temporaryPath.c_str());
    return StoreStatus::Failure(CannotWriteText(path, error));
  }
  return StoreStatus::Success();
}

bool WriteAt(int fd, std::string_view bytes, uint64_t offset) {
  while (!bytes.empty()) {
    ssize_t put = pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(put));
    offset += static_cast<uint64_t>(put);
  }
  return true;
}

bool AppendAtEnd(int fd, std::string_view bytes, uint64_t& start, uint64_t& written) {
  start = 0;
  written = 0;
  while (written < bytes.size()) {
    ssize_t put = write(fd, bytes.data() + written, bytes.size() - written);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    off_t end = lseek(fd, 0, SEEK_CUR);  // just past the bytes written, wherever the end was
    if (written == 0 && end >= put) start = static_cast<uint64_t>(end - put);
    written += static_cast<uint64_t>(put);
  }
  return true;
}

}  // namespace tarnwick::host
