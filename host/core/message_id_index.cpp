#include "core/message_id_index.h"

#include "core/file_ops.h"
#include "core/mbox_format.h"

namespace tarnwick::host {
namespace {

constexpr std::string_view kMessageIdName = "Message-Id";
// Messages are read in runs of about this many bytes: few system calls, bounded memory.
constexpr uint64_t kReadSize = uint64_t{8} << 20;

}  // namespace

const std::string* MessageIdIndex::Find(const TocEntry& entry) const {
  auto found = values_.find(entry.id);
  if (found == values_.end() || found->second.length != entry.length || found->second.hash != entry.hash) {
    return nullptr;
  }
  return &found->second.value;
}

void MessageIdIndex::Record(const TocEntry& entry, std::string_view message) {
  values_[entry.id] = {entry.length, entry.hash, HeaderValue(SplitStoredMessage(message).headerBlock, kMessageIdName)};
}

void MessageIdIndex::Add(const TocEntry& entry, std::string_view message) {
  Record(entry, message);
}

StoreStatus MessageIdIndex::Fill(const std::string& mailboxPath, const std::vector<TocEntry>& entries) {
  std::string bytes;
  size_t next = 0;
  while (next < entries.size()) {
    if (Find(entries[next]) != nullptr) {
      ++next;
      continue;
    }
    // A run of unknown messages that lie one after another, read at once.
    const uint64_t start = entries[next].offset;
    size_t end = next + 1;
    while (end < entries.size() && Find(entries[end]) == nullptr &&
           entries[end].offset == entries[end - 1].offset + entries[end - 1].length &&
           entries[end].offset + entries[end].length - start <= kReadSize) {
      ++end;
    }
    const uint64_t length = entries[end - 1].offset + entries[end - 1].length - start;
    StoreStatus status = ReadRange(mailboxPath, start, length, bytes);
    if (!status.ok) return status;
    for (size_t i = next; i < end; ++i) {
      Record(entries[i], std::string_view(bytes).substr(entries[i].offset - start, entries[i].length));
    }
    next = end;
  }
  return StoreStatus::Success();
}

void MessageIdIndex::KeepOnly(const std::vector<TocEntry>& entries) {
  std::unordered_map<uint32_t, Known> kept;
  kept.reserve(entries.size());
  for (const TocEntry& entry : entries) {
    auto found = values_.find(entry.id);
    if (found != values_.end()) kept.emplace(entry.id, std::move(found->second));
  }
  values_ = std::move(kept);
}

}  // namespace tarnwick::host
