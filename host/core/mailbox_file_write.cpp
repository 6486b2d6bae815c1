// The writing half of MailboxFile: appending, removing, and keeping the table of contents in step.
// Every change writes the mailbox file first and the table's header last, and the header records
// the mailbox file's size and time: a crash in between leaves a table that no longer matches, which
// the next refresh notices and rebuilds.
#include "core/host_texts.h"
#include "core/mailbox_file.h"
#include "core/mailbox_scanner.h"
#include "core/mbox_format.h"
#include "platform/file_system.h"

#include <cerrno>
#include <string>

namespace tarnwick::host {
namespace {

constexpr char kCrLf[] = "\r\n";
constexpr size_t kCopyBufferSize = 1 << 20;

// Copies `length` bytes at `offset` of `from` to `to` at `target`.
bool CopyRange(platform::File& from, platform::File& to, uint64_t offset, uint64_t length, uint64_t target) {
  std::string buffer;
  while (length > 0) {
    buffer.resize(std::min<uint64_t>(length, kCopyBufferSize));
    const int64_t got = from.ReadAt(buffer.data(), buffer.size(), offset);
    if (got <= 0) return false;
    if (!to.WriteAt(std::string_view(buffer.data(), static_cast<size_t>(got)), target)) return false;
    offset += static_cast<uint64_t>(got);
    target += static_cast<uint64_t>(got);
    length -= static_cast<uint64_t>(got);
  }
  return true;
}

}  // namespace

StoreStatus MailboxFile::Append(std::string_view message, int16_t state, uint32_t* newId) {
  // Opened for appending, and one write: another writer's message can come before this one or after it, never
  // inside it or on top of it.
  platform::File file =
      platform::File::Open(mailboxPath_, platform::FileAccess::kAppend, platform::FileCreation::kExisting);
  if (!file.IsOpen()) return StoreStatus::Failure(CannotWriteText(mailboxPath_, errno));
  const uint64_t oldSize = mailboxState_.size;
  if (StateOf(file).size != oldSize) {
    return StoreStatus::Failure(ChangedUnderfootText(mailboxPath_));
  }
  // A file written by another program may end without a line end; the new message must start a line.
  std::string_view prefix;
  char last = '\n';
  if (oldSize > 0 && file.ReadAt(&last, 1, oldSize - 1) == 1 && last != '\n') prefix = kCrLf;
  std::string bytes;
  bytes.reserve(prefix.size() + message.size());
  bytes.append(prefix).append(message);
  Fault("appending");
  uint64_t start = 0;
  uint64_t written = 0;
  if (!AppendAtEnd(file, bytes, start, written)) {
    int error = errno;
    // Cut off the part written, unless another writer has appended after it.
    if (written > 0 && StateOf(file).size == start + written && !file.Truncate(start)) {
      // The file keeps a partial message; the next refresh reads it as one.
    }
    mailboxState_ = FileState{};  // forces a re-read
    return StoreStatus::Failure(CannotWriteText(mailboxPath_, error));
  }
  mailboxState_ = StateOf(file);
  file.Close();
  if (start != oldSize) return FindAppendedAfterOthers(start + prefix.size(), state, newId);

  if (!prefix.empty() && !entries_.empty()) {
    entries_.back().length += static_cast<uint32_t>(prefix.size());
    entries_.back().hash = ContinueHash(entries_.back().hash, prefix);
  }
  TocEntry entry;
  entry.offset = oldSize + prefix.size();
  entry.length = static_cast<uint32_t>(message.size());
  entry.state = state;
  entry.flags = IsSeparatorLine(message) ? kEntryHasSeparator : 0;
  entry.id = NewId(positions_);
  entry.hash = ContinueHash(kHashStart, message);
  entry.summary = SummaryOfMessage(message);
  positions_[entry.id] = entries_.size();
  if (state == kStateUnread) ++unread_;
  if (newId != nullptr) *newId = entry.id;
  idIndex_.Add(entry, message);
  entries_.push_back(std::move(entry));
  UpdateTocAfterAppend(!prefix.empty() && entries_.size() > 1);
  return StoreStatus::Success();
}

StoreStatus MailboxFile::FindAppendedAfterOthers(uint64_t offset, int16_t state, uint32_t* newId) {
  mailboxState_ = FileState{};
  StoreStatus status = Refresh();
  if (!status.ok) return status;
  for (size_t position = 0; position < entries_.size(); ++position) {
    if (entries_[position].offset != offset) continue;
    if (newId != nullptr) *newId = entries_[position].id;
    return SetState(position, state);
  }
  return StoreStatus::Failure(ChangedUnderfootText(mailboxPath_));
}

void MailboxFile::UpdateTocAfterAppend(bool lastEntryChanged) {
  if (!tocInStep_) return WriteWholeToc();
  platform::File file = platform::File::Open(tocPath_, platform::FileAccess::kWrite, platform::FileCreation::kExisting);
  size_t count = entries_.size();
  bool written = file.IsOpen();
  written = written && file.WriteAt(EncodeTocEntry(entries_.back()), kTocHeaderSize + (count - 1) * kTocEntrySize);
  if (written && lastEntryChanged) {
    written = file.WriteAt(EncodeTocEntry(entries_[count - 2]), kTocHeaderSize + (count - 2) * kTocEntrySize);
  }
  written = written && file.WriteAt(EncodeTocHeader(Header()), 0);
  if (file.IsOpen()) {
    tocState_ = StateOf(file);
    file.Close();
  }
  if (!written) WriteWholeToc();
}

void MailboxFile::UpdateTocAfterCut() {
  if (!tocInStep_) return WriteWholeToc();
  platform::File file = platform::File::Open(tocPath_, platform::FileAccess::kWrite, platform::FileCreation::kExisting);
  bool written = file.IsOpen() && file.Truncate(kTocHeaderSize + entries_.size() * kTocEntrySize) &&
                 file.WriteAt(EncodeTocHeader(Header()), 0);
  if (file.IsOpen()) {
    tocState_ = StateOf(file);
    file.Close();
  }
  if (!written) WriteWholeToc();
}

StoreStatus MailboxFile::Remove(size_t position) {
  if (position + 1 == entries_.size()) return RemoveLast();
  return RemoveByRewrite(position);
}

StoreStatus MailboxFile::RemoveLast() {
  const TocEntry& entry = entries_.back();
  platform::File file =
      platform::File::Open(mailboxPath_, platform::FileAccess::kWrite, platform::FileCreation::kExisting);
  if (!file.IsOpen()) return StoreStatus::Failure(CannotWriteText(mailboxPath_, errno));
  if (!file.Truncate(entry.offset)) return StoreStatus::Failure(CannotWriteText(mailboxPath_, errno));
  mailboxState_ = StateOf(file);
  file.Close();
  if (entry.state == kStateUnread) --unread_;
  positions_.erase(entry.id);
  idIndex_.Forget(entry.id);
  entries_.pop_back();
  UpdateTocAfterCut();
  return StoreStatus::Success();
}

StoreStatus MailboxFile::RemoveByRewrite(size_t position) {
  const TocEntry removed = entries_[position];
  StoreStatus status = Rewrite(position, {});
  if (!status.ok) return status;
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(position));
  for (size_t i = position; i < entries_.size(); ++i) entries_[i].offset -= removed.length;
  if (removed.state == kStateUnread) --unread_;
  positions_.erase(removed.id);
  idIndex_.Forget(removed.id);
  for (size_t i = position; i < entries_.size(); ++i) positions_[entries_[i].id] = i;
  WriteWholeToc();
  return StoreStatus::Success();
}

StoreStatus MailboxFile::Replace(size_t position, std::string_view message) {
  if (message.empty()) return StoreStatus::Failure(CannotWriteText(mailboxPath_, EINVAL));
  const uint32_t oldLength = entries_[position].length;
  StoreStatus status = Rewrite(position, message);
  if (!status.ok) return status;
  TocEntry& entry = entries_[position];
  idIndex_.Forget(entry.id);
  entry.length = static_cast<uint32_t>(message.size());
  entry.flags = IsSeparatorLine(message) ? kEntryHasSeparator : 0;
  entry.hash = ContinueHash(kHashStart, message);
  entry.summary = SummaryOfMessage(message);
  for (size_t i = position + 1; i < entries_.size(); ++i) {
    entries_[i].offset = entries_[i].offset - oldLength + entry.length;
  }
  WriteWholeToc();
  return StoreStatus::Success();
}

StoreStatus MailboxFile::Rewrite(size_t position, std::string_view replacement) {
  const TocEntry& old = entries_[position];
  platform::File from =
      platform::File::Open(mailboxPath_, platform::FileAccess::kRead, platform::FileCreation::kExisting);
  if (!from.IsOpen()) return StoreStatus::Failure(CannotReadText(mailboxPath_, errno));
  std::string temporaryPath;
  std::string errorText;
  platform::File to = CreateSiblingTemporary(mailboxPath_, temporaryPath, errorText);
  if (!to.IsOpen()) return StoreStatus::Failure(errorText);
  uint64_t tail = old.offset + old.length;
  bool copied = CopyRange(from, to, 0, old.offset, 0) && to.WriteAt(replacement, old.offset) &&
                CopyRange(from, to, tail, mailboxState_.size - tail, old.offset + replacement.size()) && to.Sync();
  int error = errno;
  FileState newState = StateOf(to);
  from.Close();
  to.Close();
  if (!copied || newState.size != mailboxState_.size - old.length + replacement.size()) {
    platform::RemoveFile(temporaryPath);
    return StoreStatus::Failure(CannotWriteText(mailboxPath_, copied ? EIO : error));
  }
  Fault("rewritten");
  if (!platform::RenameReplacing(temporaryPath, mailboxPath_)) {
    error = errno;
    platform::RemoveFile(temporaryPath);
    return StoreStatus::Failure(CannotWriteText(mailboxPath_, error));
  }
  mailboxState_ = newState;
  return StoreStatus::Success();
}

}  // namespace tarnwick::host
