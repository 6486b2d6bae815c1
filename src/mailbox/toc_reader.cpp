#include "mailbox/toc_reader.h"

#include "platform/file.h"

#include <algorithm>
#include <cstdint>

namespace tarnwick::mailbox {
namespace {

constexpr size_t kHeaderSize = 104;
constexpr size_t kCountOffset = 102;
constexpr size_t kEntrySize = 218;
constexpr size_t kStateOffset = 12;

// Reads exactly `size` bytes at `offset`; false when the file ends before.
bool ReadAt(platform::File& file, unsigned char* buffer, size_t size, uint64_t offset) {
  size_t done = 0;
  while (done < size) {
    const int64_t got = file.ReadAt(buffer + done, size - done, offset + done);
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

// The declared count cut to the whole entries the file holds; -1 when the header cannot be read.
int EntryCount(platform::File& file) {
  unsigned char header[kHeaderSize];
  if (!ReadAt(file, header, sizeof header, 0)) return -1;
  int declared = header[kCountOffset] + 256 * header[kCountOffset + 1];
  const platform::FileInfo info = file.Info();
  if (!info.exists) return -1;
  auto present = (info.size - kHeaderSize) / kEntrySize;
  return static_cast<int>(std::min<uint64_t>(static_cast<uint64_t>(declared), present));
}

}  // namespace

int TocMessageCount(const std::string& tocPath) {
  // Opened for updating as the host's own readers do, so a table that may not be written reads as -1.
  platform::File file =
      platform::File::Open(tocPath, platform::FileAccess::kReadWrite, platform::FileCreation::kExisting);
  if (!file.IsOpen()) return -1;
  return EntryCount(file);
}

int TocUnreadCount(const std::string& tocPath) {
  platform::File file = platform::File::Open(tocPath, platform::FileAccess::kRead, platform::FileCreation::kExisting);
  if (!file.IsOpen()) return -1;
  int count = EntryCount(file);
  int unread = count < 0 ? -1 : 0;
  unsigned char state[2];
  for (int i = count - 1; i >= 0; --i) {
    const uint64_t at = kHeaderSize + static_cast<uint64_t>(i) * kEntrySize + kStateOffset;
    if (!ReadAt(file, state, sizeof state, at)) continue;
    auto value = static_cast<int16_t>(static_cast<uint16_t>(state[0] | (state[1] << 8)));
    if (value == 0) ++unread;
  }
  return unread;
}

}  // namespace tarnwick::mailbox
