#include "mailbox/toc_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

namespace tarnwick::mailbox {
namespace {

constexpr size_t kHeaderSize = 104;
constexpr size_t kCountOffset = 102;
constexpr size_t kEntrySize = 218;
constexpr size_t kStateOffset = 12;

// Reads exactly `size` bytes at `offset`; false when the file ends before.
bool ReadAt(int fd, unsigned char* buffer, size_t size, off_t offset) {
  size_t done = 0;
  while (done < size) {
    ssize_t got = pread(fd, buffer + done, size - done, offset + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

// The declared count cut to the whole entries the file holds; -1 when the header cannot be read.
int EntryCount(int fd) {
  unsigned char header[kHeaderSize];
  if (!ReadAt(fd, header, sizeof header, 0)) return -1;
  int declared = header[kCountOffset] + 256 * header[kCountOffset + 1];
  struct stat info {};
  if (fstat(fd, &info) != 0) return -1;
  auto present = static_cast<uint64_t>(info.st_size - static_cast<off_t>(kHeaderSize)) / kEntrySize;
  return static_cast<int>(std::min<uint64_t>(static_cast<uint64_t>(declared), present));
}

}  // namespace

int TocMessageCount(const std::string& tocPath) {
  // Opened for updating as the host's own readers do, so a table that may not be written reads as -1.
  int fd = open(tocPath.c_str(), O_RDWR | O_CLOEXEC);
  if (fd < 0) return -1;
  int count = EntryCount(fd);
  close(fd);
  return count;
}

int TocUnreadCount(const std::string& tocPath) {
  int fd = open(tocPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  int count = EntryCount(fd);
  int unread = count < 0 ? -1 : 0;
  unsigned char state[2];
  for (int i = count - 1; i >= 0; --i) {
    off_t at = static_cast<off_t>(kHeaderSize + static_cast<size_t>(i) * kEntrySize + kStateOffset);
    if (!ReadAt(fd, state, sizeof state, at)) continue;
    auto value = static_cast<int16_t>(static_cast<uint16_t>(state[0] | (state[1] << 8)));
    if (value == 0) ++unread;
  }
  close(fd);
  return unread;
}

}  // namespace tarnwick::mailbox
